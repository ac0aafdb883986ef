// A paint device that keeps the texts drawn on it, with where they were
// drawn, instead of pixels: lets tests read a printed page's layout. It has
// a printer's resolution (1200 dots per inch); positions are reported in
// hundredths of an inch.
#ifndef VORLAN_TESTS_UI_TEXT_RECORDER_H
#define VORLAN_TESTS_UI_TEXT_RECORDER_H

#include <QPaintDevice>
#include <QPaintEngine>
#include <QPointF>
#include <QString>
#include <QTextItem>
#include <memory>
#include <vector>

struct RecordedText {
    QString text;
    QPointF baseline; // hundredths of an inch from the top-left corner
};

class CTextRecorder : public QPaintDevice {
  public:
    static constexpr int kDpi = 1200;

    CTextRecorder() : m_engine(std::make_unique<Engine>(this)) {}
    ~CTextRecorder() override = default;

    QPaintEngine* paintEngine() const override { return m_engine.get(); }
    const std::vector<RecordedText>& Texts() const { return m_texts; }
    void Clear() { m_texts.clear(); }

  protected:
    int metric(PaintDeviceMetric metric) const override {
        switch (metric) {
        case PdmWidth:
        case PdmHeight:
            return 10 * kDpi;
        case PdmWidthMM:
        case PdmHeightMM:
            return 254;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return kDpi;
        case PdmDepth:
            return 32;
        case PdmNumColors:
            return 0x7fffffff;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(QPaintDevice::devicePixelRatioFScale());
        }
        return 0;
    }

  private:
    class Engine : public QPaintEngine {
      public:
        explicit Engine(CTextRecorder* device) : QPaintEngine(AllFeatures), m_pDevice(device) {}
        bool begin(QPaintDevice*) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState& state) override {
            if (state.state() & DirtyTransform)
                m_transform = state.transform();
        }
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
        void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
        void drawTextItem(const QPointF& p, const QTextItem& item) override {
            QPointF at = m_transform.map(p) * 100.0 / kDpi;
            m_pDevice->m_texts.push_back({item.text(), at});
        }
        Type type() const override { return User; }

      private:
        CTextRecorder* m_pDevice;
        QTransform m_transform;
    };

    std::unique_ptr<Engine> m_engine;
    std::vector<RecordedText> m_texts;
};

#endif
