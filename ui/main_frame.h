// The main window: a multi-document frame holding the result windows, with
// the menus, tool bar and status bar. Every command is one action, made once
// from the command table; menus, tool bar and context menu share those
// actions, and UpdateCommandUI alone decides their enabled and checked states
// by asking the command route.
#ifndef VORLAN_UI_MAIN_FRAME_H
#define VORLAN_UI_MAIN_FRAME_H

#include "ui/command_target.h"

#include <QMainWindow>
#include <map>
#include <memory>
#include <vector>

class QAction;
class QLabel;
class QMdiArea;
class QMenu;
class QToolBar;
class CChildFrame;
class CCountProgressBar;
class CResultDocument;
class CVorlanScrollView;

class CMainFrame : public QMainWindow, public CCommandTarget {
    Q_OBJECT
  public:
    // app ends the command route; it may be null (then only the windows
    // handle commands). The frame does not own it.
    explicit CMainFrame(CCommandTarget* app = nullptr, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Opens a new result window on doc and makes it active.
    CChildFrame* OpenWindow(std::shared_ptr<CResultDocument> doc);
    CChildFrame* ActiveChild() const;
    CVorlanScrollView* ActiveView() const;
    QMdiArea* MdiArea() const { return m_pMdiArea; }

    // The action of command id (made once), or null.
    QAction* Action(int id) const;
    // Which menu bar is in force: 2 with no result window, 3 with one.
    int MenuInForce() const { return m_nMenu; }
    QToolBar* ToolBar() const { return m_pToolBar; }
    QMenu* ContextMenu() const { return m_pContextMenu; }
    QMenu* WindowMenu() const { return m_pWindowMenu; }
    // The running count's progress in the status bar (hidden with none).
    CCountProgressBar* CountProgressBar() const { return m_pCountProgress; }

    // The display names of the recent-file list, newest first (at most four).
    void SetRecentFiles(const QStringList& names);

    // The views of every result window, in window order.
    std::vector<CVorlanScrollView*> Views() const;
    // Some view runs its count command or some document counts: no exit yet.
    bool AnyCountRunning() const;
    // True from a close given during a count, which the user chose to
    // stop, until the program closes.
    bool IsClosePending() const { return m_bClosePending; }
    // Asks every running count that a pending close waits for to stop, as
    // "Quit counting..." does: all of them while the program's close is
    // pending, else those of documents whose window is to close. A count
    // forgets the request when it opens its next file, so whoever pumps
    // events calls this again and again.
    void StopCountsForExit();

    bool QueryCommand(int id, CommandState& state) const override;
    void DoCommand(int id) override;

  public slots:
    // Recomputes the enabled and checked state of every command and the menu
    // bar in force.
    void UpdateCommandUI();
    // Carries out id through the command route.
    void RouteCommand(int id);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void CreateStatusBar();
    void CreateContextMenu();
    QAction* AddAlias(int id, const QString& label);
    void ShowMenu(int menu);
    void UpdateRecentFileItems();
    void UpdateCaption();
    void UpdateIdleText();
    void UpdateIndicators();
    void FillWindowList();
    void TileHorizontally();
    void ArrangeIcons();
    void ShowContextMenu(CVorlanScrollView* view, const QPoint& pos);
    void OnCountFinished();
    std::vector<CCommandTarget*> CommandRoute() const;
    bool QueryRoute(int id, CommandState& state) const;

    CCommandTarget* m_pApp;
    QMdiArea* m_pMdiArea;
    QToolBar* m_pToolBar = nullptr;
    QMenu* m_pFileMenu2 = nullptr;
    QMenu* m_pFileMenu3 = nullptr;
    QMenu* m_pEditMenu = nullptr;
    QMenu* m_pOptionsMenu = nullptr;
    QMenu* m_pDisplayMenu = nullptr;
    QMenu* m_pWindowMenu = nullptr;
    QMenu* m_pHelpMenu = nullptr;
    QMenu* m_pContextMenu = nullptr;
    std::vector<QAction*> m_windowListActions;
    std::vector<QLabel*> m_indicators;
    CCountProgressBar* m_pCountProgress = nullptr;
    int m_nMenu = 0;
    bool m_bClosePending = false;
    // What the status bar's message pane shows with no prompt: "Ready", or
    // that the active window's report is partial.
    QString m_strIdleText;
    QStringList m_recentNames;
    // One action per command; aliases are the context menu's differently
    // labelled entries, enabled together with their command.
    std::map<int, QAction*> m_actions;
    std::multimap<int, QAction*> m_aliases;
};

#endif
