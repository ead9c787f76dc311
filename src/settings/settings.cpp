#include "settings/settings.h"

#include "platform/exception.h"
#include "platform/folders.h"

namespace vq {
namespace {

int digitValue(QChar c, bool hex) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (!hex)
        return -1;
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

} // namespace

std::optional<std::int32_t> tryStrToInt(const QString& text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    bool hex = false;
    if (i < n && (text[i] == u'$' || text[i] == u'x' || text[i] == u'X')) {
        hex = true;
        ++i;
    } else if (i + 1 < n && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        hex = true;
        i += 2;
    }
    const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
    std::int64_t value = 0;
    qsizetype digits = 0;
    for (; i < n; ++i, ++digits) {
        const int d = digitValue(text[i], hex);
        if (d < 0)
            return std::nullopt;
        value = value * (hex ? 16 : 10) + d;
        if (value > limit)
            return std::nullopt;
    }
    if (digits == 0)
        return std::nullopt;
    return static_cast<std::int32_t>(negative ? -value : value);
}

std::int32_t strToInt(const QString& text) {
    if (const auto v = tryStrToInt(text))
        return *v;
    throw Exception(QStringLiteral("'%1' is not a valid integer value").arg(text));
}

QString settingsPath() {
    return programFolder() + kSettingsFileName;
}

QString Settings::text(SettingKey key) const {
    const QString name = QLatin1StringView(key.name);
    return m_file.readString(kSettingsSection, name, name);
}

std::int32_t Settings::integer(IntegerKey key) const {
    return strToInt(text(key));
}

std::optional<std::int32_t> Settings::integer(OptionalIntegerKey key) const {
    // An empty fallback tells an absent key from one whose value spells its own name.
    return tryStrToInt(m_file.readString(kSettingsSection, key.toString(), QString()));
}

std::optional<bool> Settings::flag(OptionalFlagKey key) const {
    const QString value = m_file.readString(kSettingsSection, key.toString(), QString());
    if (value == u"1")
        return true;
    if (value == u"0")
        return false;
    return std::nullopt;
}

QString Settings::text(OptionalTextKey key) const {
    return m_file.readString(kSettingsSection, key.toString(), QString());
}

void Settings::write(OptionalTextKey key, const QString& value) const {
    m_file.writeString(kSettingsSection, key.toString(), value);
}

void Settings::write(TextKey key, const QString& value) const {
    m_file.writeString(kSettingsSection, key.toString(), value);
}

void Settings::writeInteger(IntegerKey key, std::int32_t value) const {
    m_file.writeString(kSettingsSection, key.toString(), QString::number(value));
}

void Settings::writeInteger(OptionalIntegerKey key, std::int32_t value) const {
    m_file.writeString(kSettingsSection, key.toString(), QString::number(value));
}

void Settings::writeFlag(OptionalFlagKey key, bool on) const {
    m_file.writeString(kSettingsSection, key.toString(),
                       on ? QStringLiteral("1") : QStringLiteral("0"));
}

void Settings::writeFlag(FlagKey key, bool on) const {
    m_file.writeString(kSettingsSection, key.toString(),
                       on ? QStringLiteral("1") : QStringLiteral("0"));
}

} // namespace vq
