#include "gui/edit_mask.h"

#include <QStringList>

namespace gui {

HostMask parseHostMask(const std::string& hostMask) {
    HostMask m;
    if (hostMask.empty()) return m;
    const QString all = QString::fromStdString(hostMask);
    // Split at the last two ';' so a literal ';' in the picture survives.
    QString pict = all;
    const QStringList parts = all.split(';');
    if (parts.size() >= 3) {
        pict = parts.mid(0, parts.size() - 2).join(';');
        m.saveLiterals = parts[parts.size() - 2].trimmed() != "0";
        if (!parts.last().isEmpty() && parts.last()[0] != ' ') m.blank = parts.last()[0];
    }
    QString qt;
    for (int i = 0; i < pict.size(); ++i) {
        const QChar c = pict[i];
        if (c == '\\' && i + 1 < pict.size()) {
            qt += '\\';
            qt += pict[++i];
            continue;
        }
        switch (c.unicode()) {
            case '0': qt += '9'; break;  // required digit
            case '9': qt += '0'; break;  // optional digit
            case '#': qt += '#'; break;
            case 'L': qt += 'A'; break;  // required letter
            case 'l': qt += 'a'; break;
            case 'A': qt += 'N'; break;  // required letter or digit
            case 'a': qt += 'n'; break;
            case 'C': qt += 'X'; break;  // any character
            case 'c': qt += 'x'; break;
            case '>':
            case '<': qt += c; break;
            case '!': break;  // the host's "trim leading blanks": no Qt counterpart needed
            default:
                if (QString("9aAnNxXdDhHbB0#<>!\\[]{}").contains(c)) qt += '\\';  // a literal for Qt
                qt += c;
        }
    }
    m.qtMask = qt + ';' + m.blank;
    return m;
}

std::string maskedValue(const QString& shown, const HostMask& mask) {
    if (mask.qtMask.isEmpty()) return shown.toStdString();
    // `shown` is the box's display text: one character per mask position.
    const QString pict = mask.qtMask.left(mask.qtMask.lastIndexOf(';'));
    QString out;
    bool anyInput = false;
    int pos = 0;
    for (int i = 0; i < pict.size() && pos < shown.size(); ++i) {
        QChar c = pict[i];
        bool literal = true;
        if (c == '\\') {
            ++i;
        } else if (QString("AaNnXx90Dd#HhBb").contains(c)) {
            literal = false;
        } else if (c == '<' || c == '>' || c == '!') {
            continue;
        }
        QChar got = shown[pos++];
        if (got == mask.blank) got = ' ';
        if (literal) {
            if (mask.saveLiterals) out += got;
        } else {
            out += got;
            if (got != ' ') anyInput = true;
        }
    }
    if (!anyInput) return {};
    return out.trimmed().toStdString();
}

}  // namespace gui
