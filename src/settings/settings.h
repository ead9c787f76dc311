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

// A key of section canshu together with how it is read. Only the key table below makes them,
// so a key that is not in the table does not compile.
template <SettingKind K> class TypedKey {
public:
    constexpr const char* name() const { return m_name; }
    QString toString() const { return QLatin1StringView(m_name); }

private:
    friend struct Key;
    constexpr explicit TypedKey(const char* name) : m_name(name) {}
    const char* m_name;
};
using IntegerKey = TypedKey<SettingKind::Integer>;
using FlagKey = TypedKey<SettingKind::Flag>;
using TextKey = TypedKey<SettingKind::Text>;

// A key that a settings file may lack without any failure: read with a fallback of its own,
// never required at set-up, not among the 23.
class OptionalIntegerKey {
public:
    constexpr const char* name() const { return m_name; }
    QString toString() const { return QLatin1StringView(m_name); }

private:
    friend struct Key;
    constexpr explicit OptionalIntegerKey(const char* name) : m_name(name) {}
    const char* m_name;
};

// A flag that a settings file may lack: "1" and "0" as for every flag, and anything else (the key
// absent among it) leaves the choice to the reader's own default.
class OptionalFlagKey {
public:
    constexpr const char* name() const { return m_name; }
    QString toString() const { return QLatin1StringView(m_name); }

private:
    friend struct Key;
    constexpr explicit OptionalFlagKey(const char* name) : m_name(name) {}
    const char* m_name;
};

// A text that a settings file may lack: read with an empty fallback, so that an absent key and an
// empty value both read as nothing.
class OptionalTextKey {
public:
    constexpr const char* name() const { return m_name; }
    QString toString() const { return QLatin1StringView(m_name); }

private:
    friend struct Key;
    constexpr explicit OptionalTextKey(const char* name) : m_name(name) {}
    const char* m_name;
};

// The 23 keys of section canshu, then the optional ones.
struct Key {
    static constexpr TextKey biaoti{"biaoti"};
    static constexpr IntegerKey biaoti_fontsize{"biaoti_fontsize"};
    static constexpr IntegerKey biaoti_color{"biaoti_color"};
    static constexpr IntegerKey biaoti_left{"biaoti_left"};
    static constexpr IntegerKey biaoti_top{"biaoti_top"};
    static constexpr IntegerKey shijian{"shijian"};
    static constexpr IntegerKey shijian_fontsize{"shijian_fontsize"};
    static constexpr IntegerKey shijian_color{"shijian_color"};
    static constexpr IntegerKey shijian_left{"shijian_left"};
    static constexpr IntegerKey shijian_top{"shijian_top"};
    static constexpr FlagKey shijian_sound{"shijian_sound"};
    static constexpr IntegerKey wenti_fontsize{"wenti_fontsize"};
    static constexpr IntegerKey wenti_color{"wenti_color"};
    static constexpr IntegerKey wenti_width{"wenti_width"};
    static constexpr IntegerKey wenti_left{"wenti_left"};
    static constexpr IntegerKey wenti_top{"wenti_top"};
    static constexpr IntegerKey daan_fontsize{"daan_fontsize"};
    static constexpr IntegerKey daan_color{"daan_color"};
    static constexpr IntegerKey daan_width{"daan_width"};
    static constexpr IntegerKey daan_left{"daan_left"};
    static constexpr IntegerKey daan_top{"daan_top"};
    static constexpr FlagKey huanying{"huanying"};
    static constexpr FlagKey weizhishezhi{"weizhishezhi"};

    // The show's screen, 1-based in the desktop's left-to-right order; anything else means the
    // primary screen.
    static constexpr OptionalIntegerKey pingmu{"pingmu"};
    // The host's console on a screen of its own: on unless it reads "0".
    static constexpr OptionalFlagKey zhuchi{"zhuchi"};

    // The teams, by name (GBK text like the title), team N under duiwuN; none set up, no
    // scoreboard. Their start score and the step a key or a console button adds or takes.
    static constexpr std::array<OptionalTextKey, 12> duiwu{{
        OptionalTextKey{"duiwu1"},
        OptionalTextKey{"duiwu2"},
        OptionalTextKey{"duiwu3"},
        OptionalTextKey{"duiwu4"},
        OptionalTextKey{"duiwu5"},
        OptionalTextKey{"duiwu6"},
        OptionalTextKey{"duiwu7"},
        OptionalTextKey{"duiwu8"},
        OptionalTextKey{"duiwu9"},
        OptionalTextKey{"duiwu10"},
        OptionalTextKey{"duiwu11"},
        OptionalTextKey{"duiwu12"},
    }};
    static constexpr OptionalIntegerKey duiwu_fenshu{"duiwu_fenshu"};
    static constexpr OptionalIntegerKey defen{"defen"};
    // The scoreboard's place (written when it is dragged), size in points and colour; without
    // them it stands at the bottom left in the title's size and colour.
    static constexpr OptionalIntegerKey jifenban_left{"jifenban_left"};
    static constexpr OptionalIntegerKey jifenban_top{"jifenban_top"};
    static constexpr OptionalIntegerKey jifenban_fontsize{"jifenban_fontsize"};
    static constexpr OptionalIntegerKey jifenban_color{"jifenban_color"};
    // The area a question's picture is fitted into (its place written when it is dragged);
    // without them an area beside or below the question that leaves its text clear.
    static constexpr OptionalIntegerKey tupian_left{"tupian_left"};
    static constexpr OptionalIntegerKey tupian_top{"tupian_top"};
    static constexpr OptionalIntegerKey tupian_width{"tupian_width"};
    static constexpr OptionalIntegerKey tupian_height{"tupian_height"};
};

// Any key of the table, for going through all of them.
struct SettingKey {
    template <SettingKind K> constexpr SettingKey(TypedKey<K> key) : name(key.name()), kind(K) {}
    constexpr SettingKey(OptionalIntegerKey key) : name(key.name()), kind(SettingKind::Integer) {}
    constexpr SettingKey(OptionalFlagKey key) : name(key.name()), kind(SettingKind::Flag) {}
    constexpr SettingKey(OptionalTextKey key) : name(key.name()), kind(SettingKind::Text) {}
    const char* name;
    SettingKind kind;
};

inline constexpr std::array<SettingKey, 23> kSettingKeys = {{
    Key::biaoti,        Key::biaoti_fontsize, Key::biaoti_color,     Key::biaoti_left,
    Key::biaoti_top,    Key::shijian,         Key::shijian_fontsize, Key::shijian_color,
    Key::shijian_left,  Key::shijian_top,     Key::shijian_sound,    Key::wenti_fontsize,
    Key::wenti_color,   Key::wenti_width,     Key::wenti_left,       Key::wenti_top,
    Key::daan_fontsize, Key::daan_color,      Key::daan_width,       Key::daan_left,
    Key::daan_top,      Key::huanying,        Key::weizhishezhi,
}};

inline constexpr std::array<SettingKey, 24> kOptionalSettingKeys = {{
    Key::pingmu,        Key::zhuchi,       Key::duiwu[0],          Key::duiwu[1],
    Key::duiwu[2],      Key::duiwu[3],     Key::duiwu[4],          Key::duiwu[5],
    Key::duiwu[6],      Key::duiwu[7],     Key::duiwu[8],          Key::duiwu[9],
    Key::duiwu[10],     Key::duiwu[11],    Key::duiwu_fenshu,      Key::defen,
    Key::jifenban_left, Key::jifenban_top, Key::jifenban_fontsize, Key::jifenban_color,
    Key::tupian_left,   Key::tupian_top,   Key::tupian_width,      Key::tupian_height,
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

    // Read value (section canshu, the key's name as default), of any key.
    QString text(SettingKey key) const;
    // Integer setting: read value, then the strict conversion.
    std::int32_t integer(IntegerKey key) const;
    // Flag setting: exact comparisons with "1" and "0"; anything else is neither.
    bool flagOn(FlagKey key) const { return text(key) == u"1"; }
    bool flagOff(FlagKey key) const { return text(key) == u"0"; }

    // An optional key: its value, or nothing when it is absent, empty or not a number.
    std::optional<std::int32_t> integer(OptionalIntegerKey key) const;
    // An optional flag: true for "1", false for "0", nothing for any other text or none.
    std::optional<bool> flag(OptionalFlagKey key) const;
    // An optional text: its value, empty when it is absent.
    QString text(OptionalTextKey key) const;

    void write(TextKey key, const QString& value) const;
    void writeInteger(IntegerKey key, std::int32_t value) const;
    void writeFlag(FlagKey key, bool on) const;
    void writeInteger(OptionalIntegerKey key, std::int32_t value) const;
    void writeFlag(OptionalFlagKey key, bool on) const;
    void write(OptionalTextKey key, const QString& value) const;

private:
    IniFile m_file;
};

} // namespace vq
