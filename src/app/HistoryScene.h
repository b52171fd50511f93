#pragma once

#include <QObject>

#include <memory>

class HistoryStore;
class HistoryWindowModel;
class Pasteboard;
class QuickAppWindow;
class Scheduler;
class ViewHost;

// The "Murmo History" window, opened when the desktop asks for it (the launcher's "Murmo
// History" action, the tray icon's middle click), never by the program itself. It and its
// search exist while it is open; each showing fetches what other devices added.
class HistoryScene : public QObject
{
    Q_OBJECT

public:
    HistoryScene(ViewHost& views, HistoryStore& store, Pasteboard& pasteboard, Scheduler& scheduler,
                 QObject* parent = nullptr);
    ~HistoryScene() override;

    void show();
    bool isOpen() const { return m_window != nullptr; }

private:
    void onClosing();

    ViewHost& m_views;
    HistoryStore& m_store;
    Pasteboard& m_pasteboard;
    Scheduler& m_scheduler;
    HistoryWindowModel* m_model = nullptr;
    std::unique_ptr<QuickAppWindow> m_window;
};
