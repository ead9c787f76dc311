#pragma once

#include <QString>
#include <QVariant>

namespace vq::jet {

// The one statement form the bank is queried with:
//   SELECT * FROM <table> [WHERE <column> = <literal>]
// with the engine's lexical rules: keywords in any case, any blanks and line breaks between
// words, [bracketed] names, names in any script, signed numbers, quoted texts.
struct Select {
    QString table;
    bool hasCondition = false;
    QString column;
    QVariant literal; // qlonglong, double or QString
};

// Throws vq::Exception with the engine's wording for a statement it cannot parse.
Select parseSelect(const QString& sql);

} // namespace vq::jet
