#pragma once

#include <QObject>
#include <QString>

class TADOConnection;
class TADOQuery;

// The data module: the question bank's connection and its one query, both opened while the
// module is created; each failure goes to the error box and creation goes on.
namespace vq {
class BankPrefetch;
}

class TDataModule2 : public QObject {
    Q_OBJECT
public:
    explicit TDataModule2(QObject* parent = nullptr);
    // The program's module: its connection and query take what the prefetch read ahead, where
    // it still applies (null: they open the bank themselves).
    explicit TDataModule2(vq::BankPrefetch* prefetch, QObject* parent = nullptr);
    // The same module on another bank (the bank check opens any file with any password).
    explicit TDataModule2(const QString& connectionString, QObject* parent = nullptr);
    ~TDataModule2() override;

    // The query's designed text.
    static QString designedSql();

    TADOConnection* ADOConnection1 = nullptr;
    TADOQuery* ADOQuery1 = nullptr;

private:
    TDataModule2(const QString& connectionString, vq::BankPrefetch* prefetch, QObject* parent);
};
