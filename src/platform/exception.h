#pragma once

#include <QString>
#include <exception>
#include <string>

namespace vq {

// The one failure type of the program: a message for the error box.
class Exception : public std::exception {
public:
    explicit Exception(QString message)
        : m_message(std::move(message)), m_utf8(m_message.toStdString()) {}
    const QString& message() const { return m_message; }
    const char* what() const noexcept override { return m_utf8.c_str(); }

private:
    QString m_message;
    std::string m_utf8;
};

} // namespace vq
