#pragma once
#include <QMainWindow>
#include <memory>

class QMdiArea;

namespace gui {

class QtHost;
class FormView;

// The host application's main window: the module's screens are MDI children of it.
// While it lives, its QtHost is the process's host.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow();
    ~MainWindow() override;
    QtHost& host() { return *host_; }
    QMdiArea* mdi() const { return mdi_; }
    // Enters the analysis-request module (IniProc), as its menu item does.
    void openModule();
    // The view of the module's screen, or null when it is not open.
    FormView* moduleView() const;

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    void closeModule();
    QMdiArea* mdi_;
    std::unique_ptr<QtHost> host_;
};

}  // namespace gui
