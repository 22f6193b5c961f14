#include "gui/main_window.h"

#include <QCloseEvent>
#include <QMdiArea>
#include <QMenuBar>
#include <QStatusBar>

#include "gui/qt_host.h"
#include "pkg/entry.h"
#include "platform/base_screens.h"
#include "platform/handler.h"
#include "platform/host.h"
#include "screen/frame/module_state.h"
#include "screen/frame/pedido_ana.h"

namespace gui {

MainWindow::MainWindow() {
    const auto& s = platform::session();
    setWindowTitle(QString::fromStdString("Produção e Qualidade - " + s.nomeOperador));
    mdi_ = new QMdiArea(this);
    mdi_->setBackground(QColor(0x5A, 0x6E, 0x8C));
    setCentralWidget(mdi_);
    host_ = std::make_unique<QtHost>(mdi_);
    platform::setHost(host_.get());
    host_->onScreenWindowClosed = [](platform::Form& f) {
        // The user closed the window: the screen's own closing runs.
        if (auto* screen = dynamic_cast<platform::TfrmPadrao*>(&f))
            platform::runHandler([screen] { screen->FormClose(); });
    };

    auto* modules = menuBar()->addMenu("&Módulos");
    modules->addAction("&Pedido de Análise (MXA07300)", this, &MainWindow::openModule);
    modules->addSeparator();
    modules->addAction("&Sair", this, &QWidget::close);

    statusBar()->showMessage(QString::fromStdString("Operador: " + s.operador + " - " + s.nomeOperador +
                                                    "    Filial: " + s.filial + "    Servidor: " + s.webUrl + ":" +
                                                    std::to_string(s.webPort)));
    resize(1280, 800);
}

MainWindow::~MainWindow() {
    closeModule();
    platform::setHost(nullptr);
}

void MainWindow::openModule() {
    pkg::IniProc(core::Value());
    host_->syncScreens();
}

FormView* MainWindow::moduleView() const {
    return screen::frmPedidoAna ? host_->viewOf(*screen::frmPedidoAna) : nullptr;
}

void MainWindow::closeModule() {
    if (screen::frmPedidoAna) platform::runHandler([] { screen::frmPedidoAna->FormClose(); });
    screen::freeClosedScreen();
}

void MainWindow::closeEvent(QCloseEvent* e) {
    closeModule();
    QMainWindow::closeEvent(e);
}

}  // namespace gui
