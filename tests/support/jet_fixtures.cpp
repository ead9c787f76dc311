#include "support/jet_fixtures.h"
#include "data/bankschema.h"

#include "platform/exception.h"

#include <utility>

namespace vq::jet {
namespace {

using namespace bankschema;

QList<Question> sampleQuestions() {
    return {
        {1, QStringLiteral("中国的首都是哪座城市？"), QStringLiteral("北京")},
        {2, QStringLiteral("一年有几个季节？"), QStringLiteral("四个")},
        {3, QStringLiteral("“床前明月光”的下一句是什么？"), QStringLiteral("疑是地上霜")},
        {4, QStringLiteral("Which planet is known as the red planet?"),
         QStringLiteral("Mars, \"the red one\"")},
        {5, QStringLiteral("水的化学式是什么？\n（两行题目）"), QStringLiteral("H₂O")},
    };
}

// Deterministic filler text of the given length, mixing Chinese and Latin characters.
QString filler(quint32 seed, int length) {
    static const QString pool =
        QStringLiteral("晚会随机出题系统问题答案春夏秋冬山水日月abcdefXYZ0123456789 ");
    QString s;
    s.reserve(length);
    for (int i = 0; i < length; ++i) {
        seed = seed * 134775813u + 1u;
        s.append(pool.at(int((quint64(seed) * quint64(pool.size())) >> 32)));
    }
    return s;
}

} // namespace

namespace {

using Make = QList<Table> (*)();

QList<Table> textNumber() {
    Table t = questionTable(sampleQuestions());
    t.columns[0].type = ColumnType::Text;
    t.columns[0].size = 50;
    for (auto& row : t.rows)
        row[0] = row[0].toString();
    return {t};
}

QList<Table> nullNumber() {
    Table t = questionTable(sampleQuestions());
    t.rows[2][0] = QVariant();
    return {t};
}

QList<Table> duplicate() {
    QList<Question> q = sampleQuestions();
    q[2].number = 2;
    q[3].number = -3;
    return {questionTable(q)};
}

QList<Table> shortText() {
    Table t = questionTable(sampleQuestions());
    t.columns[1].type = ColumnType::Text;
    t.columns[2].type = ColumnType::Text;
    return {t};
}

QList<Table> extraColumns() {
    Table t{kTable,
            {{QStringLiteral("分类"), ColumnType::Text, 20},
             {kNumber, ColumnType::Long},
             {kQuestion, ColumnType::Memo},
             {kAnswer, ColumnType::Memo},
             {QStringLiteral("分值"), ColumnType::Long},
             {QStringLiteral("备注"), ColumnType::Memo}},
            {}};
    for (const Question& q : sampleQuestions())
        t.rows.append(
            {QStringLiteral("常识"), q.number, q.question, q.answer, q.number * 10, QVariant()});
    return {t};
}

QList<Table> otherTable() {
    Table t = questionTable(sampleQuestions());
    t.name = QStringLiteral("questions");
    return {t};
}

QList<Table> noNumber() {
    Table t{kTable, {{kQuestion, ColumnType::Memo}, {kAnswer, ColumnType::Memo}}, {}};
    for (const Question& q : sampleQuestions())
        t.rows.append({q.question, q.answer});
    return {t};
}

QList<Table> large(int count) {
    QList<Question> q;
    q.reserve(count);
    for (int i = 1; i <= count; ++i) {
        const quint32 seed = quint32(i) * 2654435761u;
        q.append({i, filler(seed, 20 + int(seed % 181)),
                  filler(seed ^ 0x5bd1e995u, 20 + int((seed >> 8) % 181))});
    }
    return {questionTable(q)};
}

QList<Table> longMemo() {
    return {questionTable(
        {{1, filler(7, 3000), filler(8, 20000)}, {2, QStringLiteral("短题"), filler(9, 1500)}})};
}

// A bank with the optional columns (in an order of their own, as an Access user might add them)
// and one question; its pictures are files the test puts into the media folder.
Table mediaTable(const QVariant& picture, const QVariant& answerPicture, const QVariant& time,
                 const QVariant& points, const QVariant& sound = {}) {
    Table t;
    t.name = bankschema::kTable;
    t.columns = {{bankschema::kNumber, ColumnType::Long},
                 {bankschema::kPicture, ColumnType::Text, 255},
                 {bankschema::kQuestion, ColumnType::Memo},
                 {bankschema::kAnswer, ColumnType::Memo},
                 {bankschema::kTime, ColumnType::Long},
                 {bankschema::kAnswerPicture, ColumnType::Text, 255},
                 {bankschema::kSound, ColumnType::Text, 255},
                 {bankschema::kPoints, ColumnType::Long}};
    t.rows = {{1, picture, QStringLiteral("看图猜一猜：这是什么？"), QStringLiteral("一张照片"),
               time, answerPicture, sound, points}};
    return t;
}

// Many questions of one picture each and one answer picture, for timing key press to picture,
// or of one clip each, for timing key press to sound.
QList<Table> mediaBench(const QString& picture, const QString& sound = {}) {
    Table t = sound.isEmpty() ? mediaTable(picture, QStringLiteral("answer.png"), {}, {})
                              : mediaTable({}, {}, {}, {}, sound);
    const QList<QVariant> first = t.rows.first();
    t.rows.clear();
    for (int i = 1; i <= 500; ++i) {
        QList<QVariant> row = first;
        row[0] = i;
        t.rows.append(row);
    }
    return {t};
}

const std::pair<const char*, Make> kFixtures[] = {
    {"bank", [] { return QList<Table>{questionTable(sampleQuestions())}; }},
    {"text-number", textNumber},
    {"null-number", nullNumber},
    {"duplicate", duplicate},
    {"short-text", shortText},
    {"extra-columns", extraColumns},
    {"other-table", otherTable},
    {"no-rows", [] { return QList<Table>{questionTable({})}; }},
    {"no-number", noNumber},
    {"large", [] { return large(100000); }},
    // The sizes the speed and memory figures are taken at, from a club's quiz to a
    // question bank of a whole exam board.
    {"large-1k", [] { return large(1000); }},
    {"large-10k", [] { return large(10000); }},
    {"large-1m", [] { return large(1000000); }},
    {"long-memo", longMemo},
    {"media-photo",
     [] {
         return QList<Table>{
             mediaTable(QStringLiteral("照片.jpg"), QStringLiteral("答案.png"), 7, 20)};
     }},
    {"media-strip",
     [] { return QList<Table>{mediaTable(QStringLiteral("strip.png"), {}, {}, {})}; }},
    {"media-sound",
     [] { return QList<Table>{mediaTable({}, {}, {}, {}, QStringLiteral("曲.wav"))}; }},
    // The same clip saved as the other kinds a quiz's music comes in.
    {"media-sound-flac",
     [] { return QList<Table>{mediaTable({}, {}, {}, {}, QStringLiteral("曲.flac"))}; }},
    {"media-sound-ogg",
     [] { return QList<Table>{mediaTable({}, {}, {}, {}, QStringLiteral("曲.ogg"))}; }},
    {"media-sound-mp3",
     [] { return QList<Table>{mediaTable({}, {}, {}, {}, QStringLiteral("曲.mp3"))}; }},
    {"media-sound-m4a",
     [] { return QList<Table>{mediaTable({}, {}, {}, {}, QStringLiteral("曲.m4a"))}; }},
    {"media-bench-jpeg", [] { return mediaBench(QStringLiteral("bench.jpg")); }},
    {"media-bench-png", [] { return mediaBench(QStringLiteral("bench.png")); }},
    {"media-bench-wav", [] { return mediaBench({}, QStringLiteral("bench.wav")); }},
    {"media-bench-mp3", [] { return mediaBench({}, QStringLiteral("bench.mp3")); }},
    {"media-bench-m4a", [] { return mediaBench({}, QStringLiteral("bench.m4a")); }},
};

} // namespace

QStringList fixtureKinds() {
    QStringList out;
    for (const auto& [kind, make] : kFixtures)
        out << QLatin1String(kind);
    return out;
}

QList<Table> fixtureTables(const QString& kind) {
    for (const auto& [name, make] : kFixtures)
        if (kind == QLatin1String(name))
            return make();
    throw vq::Exception(QStringLiteral("Unknown fixture kind '%1' (known: %2)")
                            .arg(kind, fixtureKinds().join(QStringLiteral(", "))));
}

void writeFixture(const QString& kind, const QString& path, const WriteOptions& options) {
    writeDatabase(path, fixtureTables(kind), options);
}

} // namespace vq::jet
