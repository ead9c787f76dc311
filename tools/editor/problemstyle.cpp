#include "problemstyle.h"

#include <QBrush>
#include <QColor>

namespace vq::editor {

QVariant problemRowStyle(int role) {
    switch (role) {
    case Qt::BackgroundRole:
        return QBrush(QColor(255, 205, 205));
    case Qt::ForegroundRole:
        return QBrush(QColor(64, 0, 0));
    default:
        return {};
    }
}

} // namespace vq::editor
