// Report bytes decoded for display: each line as UTF-8 when it is UTF-8 with
// a non-ASCII character, otherwise by the font's character set, with U+FFFD
// for what the character set does not allow, and without the line end.
#include "ui/report_text.h"

#include <QTest>
#include <string>

class ReportTextTest : public QObject {
    Q_OBJECT
  private slots:
    void decode_data();
    void decode();
    void decode_leavesTheBytesAlone();
    void decoder_reusedAcrossLinesAfterAnError();
    void decoder_decidesEachLineOnItsOwn();
    void codePage_ofCharSets();
    void lineBody_dropsOnlyItsLineEnd();
};

void ReportTextTest::decode_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("charSet");
    QTest::addColumn<QString>("expected");

    const QString fffd(QChar(0xFFFD));
    QTest::newRow("ascii is itself, backslash included")
        << QByteArray("  12 C:\\TXT") << 128 << QStringLiteral("  12 C:\\TXT");
    QTest::newRow("shift-jis hiragana and kanji")
        << QByteArray("\x82\xa0\x8a\xbf") << 128 << QStringLiteral(u"\u3042\u6f22");
    QTest::newRow("shift-jis half-width katakana")
        << QByteArray("\xb1") << 128 << QStringLiteral(u"\uff71");
    QTest::newRow("code page 932 extensions")
        << QByteArray("\x87\x40\xfa\x40") << 128 << QStringLiteral(u"\u2460\u2170");
    QTest::newRow("lead byte cut off at the end")
        << QByteArray("ab\x82") << 128 << QStringLiteral("ab") + fffd;
    QTest::newRow("lead byte before an ascii byte keeps the ascii byte")
        << QByteArray("\x81 x") << 128 << fffd + QStringLiteral(" x");
    QTest::newRow("byte that starts nothing in shift-jis")
        << QByteArray("\xa0z") << 128 << fffd + QStringLiteral("z");
    QTest::newRow("windows-1252 euro and e acute")
        << QByteArray("\x80\xe9") << 0 << QStringLiteral(u"\u20ac\u00e9");
    QTest::newRow("windows-1252 undefined byte")
        << QByteArray("a\x81") << 0 << QStringLiteral("a") + fffd;
    QTest::newRow("russian set is code page 1251")
        << QByteArray("\xc0\xff") << 204 << QStringLiteral(u"\u0410\u044f");
    QTest::newRow("greek set is code page 1253")
        << QByteArray("\xe1") << 161 << QStringLiteral(u"\u03b1");
    QTest::newRow("unknown set falls back to windows-1252")
        << QByteArray("\xe9") << 99 << QStringLiteral(u"\u00e9");
    QTest::newRow("utf-8 path over the shift-jis font")
        << QByteArray("/texts/GR\xC3\xB6\xC3\x9F"
                      "E/")
        << 128 << QStringLiteral(u"/texts/GR\u00f6\u00dfE/");
    QTest::newRow("utf-8 beyond the basic plane over a western font")
        << QByteArray("caf\xC3\xA9 \xF0\x9F\x98\x80") << 0
        << QStringLiteral(u"caf\u00e9 \U0001F600");
    QTest::newRow("overlong form is no utf-8")
        << QByteArray("\xC0\xAF") << 0 << QStringLiteral(u"\u00c0\u00af");
    QTest::newRow("empty line") << QByteArray() << 128 << QString();
}

void ReportTextTest::decode() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, charSet);
    QFETCH(QString, expected);
    QCOMPARE(DecodeReportLine(std::string_view(bytes.constData(), bytes.size()), charSet),
             expected);
}

void ReportTextTest::decode_leavesTheBytesAlone() {
    const std::string line = "\x82\xa0\xff\x81\r\n";
    const std::string copy = line;
    CReportTextDecoder decoder(kShiftJisCharSet);
    decoder.Decode(line);
    QCOMPARE(line, copy);
}

// A failed sequence must not leave the converter in a state that spoils the
// next line.
void ReportTextTest::decoder_reusedAcrossLinesAfterAnError() {
    CReportTextDecoder decoder(kShiftJisCharSet);
    QCOMPARE(decoder.Decode("\x82"), QString(QChar(0xFFFD)));
    QCOMPARE(decoder.Decode("\x82\xa2"), QStringLiteral(u"\u3044"));
    QCOMPARE(decoder.Decode("\xe9"), QString(QChar(0xFFFD)));
    QCOMPARE(decoder.Decode("\x93\xfa\x96\x7b"), QStringLiteral(u"\u65e5\u672c"));
}

// A count that detects each file's encoding mixes Shift-JIS and UTF-8 lines.
void ReportTextTest::decoder_decidesEachLineOnItsOwn() {
    CReportTextDecoder decoder(kShiftJisCharSet);
    const QString nihon = QStringLiteral(u"\u65e5\u672c");
    QCOMPARE(decoder.Decode("\x93\xfa\x96\x7b"), nihon);
    QCOMPARE(decoder.Decode("\xE6\x97\xA5\xE6\x9C\xAC"), nihon);
    QCOMPARE(decoder.Decode("\x93\xfa\x96\x7b"), nihon);
}

void ReportTextTest::codePage_ofCharSets() {
    QCOMPARE(CodePageOfCharSet(128), 932);
    QCOMPARE(CodePageOfCharSet(0), 1252);
    QCOMPARE(CodePageOfCharSet(238), 1250);
    QCOMPARE(CodePageOfCharSet(42), 1252);
    QCOMPARE(CReportTextDecoder(128).CodePage(), 932);
}

void ReportTextTest::lineBody_dropsOnlyItsLineEnd() {
    QCOMPARE(ReportLineBody("word\r\n"), std::string_view("word"));
    QCOMPARE(ReportLineBody("word\n"), std::string_view("word"));
    QCOMPARE(ReportLineBody("\n\n"), std::string_view("\n"));
    QCOMPARE(ReportLineBody("\r\n"), std::string_view(""));
    QCOMPARE(ReportLineBody("a\r\nb"), std::string_view("a\r\nb"));
    QCOMPARE(ReportLineBody("cr\r"), std::string_view("cr\r"));
    QCOMPARE(ReportLineBody(""), std::string_view(""));
}

QTEST_GUILESS_MAIN(ReportTextTest)
#include "report_text_test.moc"
