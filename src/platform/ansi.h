#pragma once

#include <QByteArray>
#include <QString>

namespace vq {

// The ANSI code page of the program's texts on disk: GBK (code page 936).
QByteArray toAnsi(const QString& text);
QString fromAnsi(const QByteArray& bytes);
QString fromAnsi(const char* data, qsizetype size);

} // namespace vq
