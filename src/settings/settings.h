#pragma once

#include "settings/inifile.h"

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace vq {

// The settings file's only section.
inline const QString kSettingsSection = QStringLiteral("canshu");
inline const QString kSettingsFileName = QStringLiteral("opt.ini");

enum class SettingKind { Integer, Flag, Text };

struct SettingKey {
    const char* name;
    SettingKind kind;
};

// The 23 keys of section canshu.
inline constexpr std::array<SettingKey, 23> kSettingKeys = {{
    {"biaoti", SettingKind::Text},
    {"biaoti_fontsize", SettingKind::Integer},
    {"biaoti_color", SettingKind::Integer},
    {"biaoti_left", SettingKind::Integer},
    {"biaoti_top", SettingKind::Integer},
    {"shijian", SettingKind::Integer},
    {"shijian_fontsize", SettingKind::Integer},
    {"shijian_color", SettingKind::Integer},
    {"shijian_left", SettingKind::Integer},
    {"shijian_top", SettingKind::Integer},
    {"shijian_sound", SettingKind::Flag},
    {"wenti_fontsize", SettingKind::Integer},
    {"wenti_color", SettingKind::Integer},
    {"wenti_width", SettingKind::Integer},
    {"wenti_left", SettingKind::Integer},
    {"wenti_top", SettingKind::Integer},
    {"daan_fontsize", SettingKind::Integer},
    {"daan_color", SettingKind::Integer},
    {"daan_width", SettingKind::Integer},
    {"daan_left", SettingKind::Integer},
    {"daan_top", SettingKind::Integer},
    {"huanying", SettingKind::Flag},
    {"weizhishezhi", SettingKind::Flag},
}};

// Keys that a settings file may lack without any failure: read with their own fallback, never
// required at set-up, not among the 23.
struct OptionalSettingKey {
    const char* name;
    SettingKind kind;
};
inline constexpr std::array<OptionalSettingKey, 1> kOptionalSettingKeys = {{
    // The show's screen, 1-based in the desktop's left-to-right order; anything else means the
    // primary screen.
    {"pingmu", SettingKind::Integer},
}};

// The framework's strict text-to-integer conversion: leading blanks, an optional sign, then
// decimal digits or, after "$", "x", "X", "0x" or "0X", hexadecimal digits, and nothing after
// them; the value must fit a signed 32-bit integer.
std::optional<std::int32_t> tryStrToInt(const QString& text);
// The same, failing with "'<text>' is not a valid integer value".
std::int32_t strToInt(const QString& text);

// Full path of opt.ini: the program folder followed by the file name, built anew each call.
QString settingsPath();

// The settings file as the handlers use it: opened (an accessor on the path built now) at the
// start of a handler and released at its end. Every read passes the key's own name as the
// default, so a missing key reads as its name. Nothing is cached.
class Settings {
public:
    Settings() : m_file(settingsPath()) {}
    explicit Settings(QString path) : m_file(std::move(path)) {}

    const QString& path() const { return m_file.path(); }

    // Read value (section canshu, the key's name as default).
    QString text(const QString& key) const;
    // Integer setting: read value, then the strict conversion.
    std::int32_t integer(const QString& key) const;
    // Flag setting: exact comparisons with "1" and "0"; anything else is neither.
    bool flagOn(const QString& key) const { return text(key) == u"1"; }
    bool flagOff(const QString& key) const { return text(key) == u"0"; }

    // An optional integer key: its value, or nothing when it is absent, empty or not a number.
    std::optional<std::int32_t> optionalInteger(const QString& key) const;

    void write(const QString& key, const QString& value) const;
    void writeInteger(const QString& key, std::int32_t value) const;
    void writeFlag(const QString& key, bool on) const;

private:
    IniFile m_file;
};

} // namespace vq
