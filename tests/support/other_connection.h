#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>

#include <filesystem>

namespace kestrum::testing {

// Another program's connection to an SQLite file, with views and triggers allowed: it writes the
// files the attempt store meets, holds one locked as a backup tool or an sqlite3 shell would, or
// reads what the store left. Needs an application object (the driver is a plug-in).
class OtherConnection {
public:
    explicit OtherConnection(const std::filesystem::path& file)
        : name_(QStringLiteral("other-%1").arg(next_++)) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
        db.setDatabaseName(QString::fromStdString(file.string()));
        db.open();
    }
    ~OtherConnection() {
        QSqlDatabase::database(name_).close();
        QSqlDatabase::removeDatabase(name_);
    }
    OtherConnection(const OtherConnection&) = delete;
    OtherConnection& operator=(const OtherConnection&) = delete;

    // Runs each statement; the last column of every row of the last one (the detail of a query
    // plan), as text. A statement that fails gives a row "error".
    QStringList run(const QStringList& statements) {
        QSqlQuery query(QSqlDatabase::database(name_));
        QStringList rows;
        for (const QString& sql : statements) {
            rows.clear();
            if (!query.exec(sql)) rows << QStringLiteral("error");
            while (query.next())
                rows << query.value(query.record().count() - 1).toString();
        }
        return rows;
    }

private:
    static inline int next_ = 0;
    QString name_;
};

}  // namespace kestrum::testing
