#include "aatext/Bidi.h"

#include <QString>
#include <QTextLayout>
#include <QTextOption>

namespace pelwick {

std::string IsolateRightToLeft(const std::string& text) {
    const QString q = QString::fromUtf8(text.data(), qsizetype(text.size()));
    for (const char32_t c : q.toUcs4()) {
        switch (QChar::direction(c)) {
            case QChar::DirR:
            case QChar::DirAL:
            case QChar::DirRLE:
            case QChar::DirRLO:
            case QChar::DirRLI:
                return "\u2068" + text + "\u2069";
            default:
                break;
        }
    }
    return text;
}

void LayOutLine(QTextLayout& layout) {
    QTextOption option = layout.textOption();
    option.setTextDirection(Qt::LeftToRight);
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    if (line.isValid()) line.setPosition(QPointF(0, 0));
    layout.endLayout();
}

}  // namespace pelwick
