#include "data/jetsql.h"

#include "platform/exception.h"

#include <QList>

namespace vq::jet {
namespace {

// A token's text is a view into the statement (the statement outlives its tokens); only a
// quoted text, with its doubled quotes made single, is a string of its own.
struct Token {
    enum Kind { Name, Bracketed, Number, Text, Symbol, End } kind;
    QStringView text;
    int pos; // where it starts in the statement
    QString unquoted = {};
};

bool nameChar(QChar c) {
    return c.isLetterOrNumber() || c == u'_' || c.unicode() > 0x7F;
}

QString invalidStatement() {
    return QStringLiteral(
        "无效的 SQL 语句，应为 'DELETE'、'INSERT'、'PROCEDURE'、'SELECT' 或 'UPDATE'");
}

QList<Token> tokenize(const QString& s) {
    QList<Token> out;
    out.reserve(12);
    const QStringView view(s);
    int i = 0;
    const int n = int(s.size());
    while (i < n) {
        const QChar c = s[i];
        if (c.isSpace()) {
            ++i;
        } else if (c == u'[') {
            const int close = int(s.indexOf(u']', i + 1));
            if (close < 0)
                throw Exception(QStringLiteral("名称“%1”的方括号不配对").arg(s.mid(i)));
            out.append({Token::Bracketed, view.mid(i + 1, close - i - 1), i});
            i = close + 1;
        } else if (c == u'\'' || c == u'"') {
            QString text;
            int j = i + 1;
            bool closed = false;
            while (j < n) {
                if (s[j] == c) {
                    if (j + 1 < n && s[j + 1] == c) { // doubled quote inside the text
                        text += c;
                        j += 2;
                        continue;
                    }
                    closed = true;
                    break;
                }
                text += s[j++];
            }
            if (!closed)
                throw Exception(
                    QStringLiteral("查询表达式“%1”中的字符串有语法错误").arg(s.mid(i).trimmed()));
            out.append({Token::Text, view.mid(i, j + 1 - i), i, text});
            i = j + 1;
        } else if (c.isDigit() || (c == u'.' && i + 1 < n && s[i + 1].isDigit())) {
            int j = i;
            while (j < n && (s[j].isDigit() || s[j] == u'.'))
                ++j;
            if (j < n && (s[j] == u'e' || s[j] == u'E')) {
                int k = j + 1;
                if (k < n && (s[k] == u'+' || s[k] == u'-'))
                    ++k;
                if (k < n && s[k].isDigit()) {
                    j = k;
                    while (j < n && s[j].isDigit())
                        ++j;
                }
            }
            out.append({Token::Number, view.mid(i, j - i), i});
            i = j;
        } else if (nameChar(c)) {
            int j = i;
            while (j < n && nameChar(s[j]))
                ++j;
            out.append({Token::Name, view.mid(i, j - i), i});
            i = j;
        } else {
            out.append({Token::Symbol, view.mid(i, 1), i});
            ++i;
        }
    }
    out.append({Token::End, {}, n});
    return out;
}

bool keyword(const Token& t, const char* word) {
    return t.kind == Token::Name && t.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

bool isName(const Token& t) {
    return t.kind == Token::Name || t.kind == Token::Bracketed;
}

} // namespace

Select parseSelect(const QString& sql) {
    const QList<Token> t = tokenize(sql);
    int i = 0;
    if (!keyword(t[i], "select"))
        throw Exception(invalidStatement());
    ++i;
    if (!(t[i].kind == Token::Symbol && t[i].text == u"*"))
        throw Exception(
            QStringLiteral("SELECT 语句中有拼错或缺少的保留字或参数名，或者标点符号不正确"));
    ++i;
    if (!keyword(t[i], "from"))
        throw Exception(
            QStringLiteral("SELECT 语句中有拼错或缺少的保留字或参数名，或者标点符号不正确"));
    ++i;
    if (!isName(t[i]) || keyword(t[i], "where"))
        throw Exception(QStringLiteral("FROM 子句语法错误"));
    Select out;
    out.table = t[i].text.toString();
    ++i;
    auto trailing = [&](int at) {
        if (t[at].kind == Token::Symbol && t[at].text == u";")
            ++at;
        if (t[at].kind != Token::End)
            throw Exception(QStringLiteral("SQL 语句结束后还有字符"));
    };
    if (keyword(t[i], "where")) {
        const QString expression = sql.mid(t[i + 1].pos).trimmed();
        const auto missingOperator = [&] {
            return Exception(
                QStringLiteral("查询表达式“%1”中有语法错误（缺少运算符）").arg(expression));
        };
        ++i;
        if (!isName(t[i]))
            throw missingOperator();
        out.column = t[i].text.toString();
        ++i;
        if (!(t[i].kind == Token::Symbol && t[i].text == u"="))
            throw missingOperator();
        ++i;
        bool negative = false;
        while (t[i].kind == Token::Symbol && (t[i].text == u"-" || t[i].text == u"+")) {
            if (t[i].text == u"-")
                negative = !negative;
            ++i;
        }
        if (t[i].kind == Token::Number) {
            bool ok = false;
            const QString digits =
                (negative ? QStringLiteral("-") : QString()) + t[i].text.toString();
            const qlonglong whole = digits.toLongLong(&ok);
            if (ok) {
                out.literal = whole;
            } else {
                const double d = digits.toDouble(&ok);
                if (!ok)
                    throw missingOperator();
                out.literal = d;
            }
        } else if (t[i].kind == Token::Text && !negative) {
            out.literal = t[i].unquoted;
        } else {
            throw missingOperator();
        }
        ++i;
        if (!(t[i].kind == Token::End ||
              (t[i].kind == Token::Symbol && t[i].text == u";" && t[i + 1].kind == Token::End)))
            throw missingOperator();
        out.hasCondition = true;
        return out;
    }
    trailing(i);
    return out;
}

} // namespace vq::jet
