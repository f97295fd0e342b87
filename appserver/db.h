#pragma once

#include <QByteArray>
#include <QString>

#include <sqlite3.h>

#include <stdexcept>
#include <string>
#include <string_view>

namespace zenvo::appserver {

class DbError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A prepared statement, finalized on destruction. Binding indexes start at 1, columns at 0.
class Stmt final {
public:
    Stmt(sqlite3 *db, const char *sql);
    ~Stmt() { sqlite3_finalize(m_stmt); }
    Stmt(const Stmt &) = delete;
    Stmt &operator=(const Stmt &) = delete;

    Stmt &bind(int i, int v);
    Stmt &bind(int i, qint64 v);
    Stmt &bind(int i, double v);
    Stmt &bind(int i, const QString &v);
    Stmt &bind(int i, const QByteArray &blob);
    Stmt &bindNull(int i);
    bool step(); // true while a row is ready
    void exec() {
        while (step()) {
        }
    }
    void reset();

    int columnCount() const { return sqlite3_column_count(m_stmt); }
    bool isNull(int c) const { return sqlite3_column_type(m_stmt, c) == SQLITE_NULL; }
    int integer(int c) const { return sqlite3_column_int(m_stmt, c); }
    qint64 int64(int c) const { return sqlite3_column_int64(m_stmt, c); }
    double real(int c) const { return sqlite3_column_double(m_stmt, c); }
    QString text(int c) const;
    // The column's UTF-8 text without a copy; valid until the next step.
    std::string_view utf8(int c) const {
        const auto *p = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, c));
        return p ? std::string_view(p, std::size_t(sqlite3_column_bytes(m_stmt, c)))
                 : std::string_view();
    }
    QByteArray blob(int c) const;
    sqlite3_stmt *handle() const { return m_stmt; }

private:
    sqlite3 *m_db;
    sqlite3_stmt *m_stmt = nullptr;
};

// An open database connection, closed on destruction.
class Db final {
public:
    explicit Db(const QString &path, bool create = false);
    ~Db();
    Db(const Db &) = delete;
    Db &operator=(const Db &) = delete;
    sqlite3 *handle() const { return m_db; }
    void exec(const char *sql);

private:
    sqlite3 *m_db = nullptr;
};

// BEGIN IMMEDIATE ... COMMIT, rolled back when not committed.
class Transaction final {
public:
    explicit Transaction(sqlite3 *db);
    ~Transaction();
    void commit();

private:
    sqlite3 *m_db;
    bool m_done = false;
};

} // namespace zenvo::appserver
