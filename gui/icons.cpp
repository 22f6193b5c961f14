#include "gui/icons.h"

#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <map>

namespace gui {

namespace {

QIcon disc(QColor fill, QChar mark = {}) {
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(fill);
    p.setPen(fill.darker(140));
    p.drawEllipse(1, 1, 14, 14);
    if (!mark.isNull()) {
        p.setPen(Qt::white);
        QFont f = p.font();
        f.setBold(true);
        f.setPixelSize(11);
        p.setFont(f);
        p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, QString(mark));
    }
    return QIcon(pm);
}

QIcon box(bool ticked) {
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setPen(Qt::darkGray);
    p.setBrush(Qt::white);
    p.drawRect(2, 2, 11, 11);
    if (ticked) {
        p.setPen(QPen(QColor(0, 120, 0), 2));
        p.drawLine(4, 8, 7, 11);
        p.drawLine(7, 11, 12, 4);
    }
    return QIcon(pm);
}

}  // namespace

QIcon iconFor(const std::string& name) {
    QStyle* s = QApplication::style();
    static const std::map<std::string, QStyle::StandardPixmap> standard = {
        {"sbtIncluir", QStyle::SP_FileIcon},
        {"sbtAlterar", QStyle::SP_FileDialogDetailedView},
        {"sbtExcluir", QStyle::SP_TrashIcon},
        {"sbtCancelar", QStyle::SP_DialogCancelButton},
        {"sbtConfirmar", QStyle::SP_DialogApplyButton},
        {"sbtPrimeiro", QStyle::SP_MediaSkipBackward},
        {"sbtAnterior", QStyle::SP_MediaSeekBackward},
        {"sbtProximo", QStyle::SP_MediaSeekForward},
        {"sbtUltimo", QStyle::SP_MediaSkipForward},
        {"sbtSair", QStyle::SP_DialogCloseButton},
        {"sbtImprimir", QStyle::SP_FileDialogContentsView},
        {"sbtFiltro", QStyle::SP_FileDialogListView},
        {"sbtGeraTarefa", QStyle::SP_BrowserReload},
        {"sbtFatuVenc", QStyle::SP_DriveFDIcon},
        {"sbtReanalise", QStyle::SP_BrowserReload},
        {"sbtAtualizaEstoque", QStyle::SP_DriveHDIcon},
        {"sbtLibAna", QStyle::SP_DialogYesButton},
        {"btnFechaParc", QStyle::SP_DialogNoButton},
        {"sbtVerificar", QStyle::SP_BrowserReload},
        {"lookup", QStyle::SP_FileDialogContentsView},
        // The base screens' image names.
        {"incluir", QStyle::SP_FileIcon},
        {"alterar", QStyle::SP_FileDialogDetailedView},
        {"excluir", QStyle::SP_TrashIcon},
        {"confirmar", QStyle::SP_DialogApplyButton},
        {"cancelar", QStyle::SP_DialogCancelButton},
        {"imprimir", QStyle::SP_FileDialogContentsView},
        {"sair", QStyle::SP_DialogCloseButton},
        {"executar", QStyle::SP_MediaPlay},
    };
    if (auto it = standard.find(name); it != standard.end()) return s->standardIcon(it->second);
    if (name == "imgOK" || name == "imgAprovado") return disc(QColor(0, 150, 0), QChar(0x2713));
    if (name == "imgCancela" || name == "imgNAprovado") return disc(QColor(200, 0, 0), QChar('x'));
    if (name == "imgPendente" || name == "imgFormPend") return disc(QColor(230, 170, 0), QChar('!'));
    if (name == "imgCancelado" || name == "imgRetirado") return disc(QColor(120, 120, 120), QChar('-'));
    if (name == "imgAndamento") return disc(QColor(0, 90, 200), QChar('>'));
    if (name == "imgImcomp") return disc(QColor(160, 80, 0), QChar('?'));
    if (name == "imgCheck") return box(true);
    if (name == "imgUnCheck") return box(false);
    return {};
}

}  // namespace gui
