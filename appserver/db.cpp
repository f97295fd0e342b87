#include "appserver/db.h"

namespace zenvo::appserver {

namespace {
[[noreturn]] void raise(sqlite3 *db, const char *what) {
    throw DbError(std::string(what) + ": " + (db ? sqlite3_errmsg(db) : "out of memory"));
}
} // namespace

Stmt::Stmt(sqlite3 *db, const char *sql) : m_db(db) {
    if (sqlite3_prepare_v2(db, sql, -1, &m_stmt, nullptr) != SQLITE_OK)
        raise(db, "prepare");
}

Stmt &Stmt::bind(int i, int v) {
    sqlite3_bind_int(m_stmt, i, v);
    return *this;
}

Stmt &Stmt::bind(int i, qint64 v) {
    sqlite3_bind_int64(m_stmt, i, v);
    return *this;
}

Stmt &Stmt::bind(int i, double v) {
    sqlite3_bind_double(m_stmt, i, v);
    return *this;
}

Stmt &Stmt::bind(int i, const QString &v) {
    const QByteArray u = v.toUtf8();
    sqlite3_bind_text(m_stmt, i, u.constData(), int(u.size()), SQLITE_TRANSIENT);
    return *this;
}

Stmt &Stmt::bind(int i, const QByteArray &blob) {
    sqlite3_bind_blob(m_stmt, i, blob.constData(), int(blob.size()), SQLITE_TRANSIENT);
    return *this;
}

Stmt &Stmt::bindNull(int i) {
    sqlite3_bind_null(m_stmt, i);
    return *this;
}

bool Stmt::step() {
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    raise(m_db, "step");
}

void Stmt::reset() {
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

QString Stmt::text(int c) const {
    const auto *p = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, c));
    return p ? QString::fromUtf8(p, sqlite3_column_bytes(m_stmt, c)) : QString();
}

QByteArray Stmt::blob(int c) const {
    const auto *p = static_cast<const char *>(sqlite3_column_blob(m_stmt, c));
    return p ? QByteArray(p, sqlite3_column_bytes(m_stmt, c)) : QByteArray();
}

Db::Db(const QString &path, bool create) {
    const int flags =
        SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | (create ? SQLITE_OPEN_CREATE : 0);
    if (sqlite3_open_v2(path.toUtf8().constData(), &m_db, flags, nullptr) != SQLITE_OK) {
        const std::string msg = m_db ? sqlite3_errmsg(m_db) : "out of memory";
        sqlite3_close(m_db);
        m_db = nullptr;
        throw DbError("cannot open " + path.toStdString() + ": " + msg);
    }
    sqlite3_busy_timeout(m_db, 10000);
    exec("PRAGMA foreign_keys=ON");
    exec("PRAGMA journal_mode=WAL");
    exec("PRAGMA synchronous=NORMAL");
}

Db::~Db() {
    sqlite3_close(m_db);
}

void Db::exec(const char *sql) {
    char *err = nullptr;
    if (sqlite3_exec(m_db, sql, nullptr, nullptr, &err) != SQLITE_OK) {
        const std::string msg = err ? err : "unknown error";
        sqlite3_free(err);
        throw DbError(msg);
    }
}

Transaction::Transaction(sqlite3 *db) : m_db(db) {
    if (sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK)
        raise(db, "begin");
}

Transaction::~Transaction() {
    if (!m_done)
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
}

void Transaction::commit() {
    if (sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
        raise(m_db, "commit");
    m_done = true;
}

} // namespace zenvo::appserver
