#include "data/tdatamodule2.h"

#include "data/adoconnection.h"
#include "data/adoquery.h"
#include "platform/guard.h"

TDataModule2::TDataModule2(QObject* parent) : TDataModule2(nullptr, parent) {}

TDataModule2::TDataModule2(vq::BankPrefetch* prefetch, QObject* parent)
    : TDataModule2(TADOConnection::designedConnectionString(), prefetch, parent) {}

TDataModule2::TDataModule2(const QString& connectionString, QObject* parent)
    : TDataModule2(connectionString, nullptr, parent) {}

TDataModule2::TDataModule2(const QString& connectionString, vq::BankPrefetch* prefetch,
                           QObject* parent)
    : QObject(parent) {
    ADOConnection1 = new TADOConnection(this);
    ADOConnection1->setObjectName(QStringLiteral("ADOConnection1"));
    ADOConnection1->setConnectionString(connectionString);
    ADOConnection1->setPrefetch(prefetch);
    ADOQuery1 = new TADOQuery(this);
    ADOQuery1->setObjectName(QStringLiteral("ADOQuery1"));
    ADOQuery1->setConnection(ADOConnection1);
    ADOQuery1->setSql(designedSql());
    // Each opening reports its own failure and creation goes on; a query whose connection
    // failed tries the connection again and so reports a second time.
    vq::guarded([&] { ADOConnection1->open(); });
    vq::guarded([&] { ADOQuery1->open(); });
}

QString TDataModule2::designedSql() {
    return QStringLiteral("select *  from 题");
}

// The query closes before the connection.
TDataModule2::~TDataModule2() {
    ADOQuery1->close();
    ADOConnection1->close();
}
