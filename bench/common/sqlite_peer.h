#pragma once

// The SQLite side of the data-set workloads: an in-memory table t(k, v, s)
// filled with the shared records by a prepared INSERT in one transaction.

#include <sqlite3.h>

#include <memory>
#include <stdexcept>
#include <string>

#include "common/bench_common.h"

namespace quelt::bench {

struct DbCloser {
    void operator()(sqlite3 *db) const { sqlite3_close(db); }
};
using Db = std::unique_ptr<sqlite3, DbCloser>;

struct StmtFinalizer {
    void operator()(sqlite3_stmt *stmt) const { sqlite3_finalize(stmt); }
};
using Stmt = std::unique_ptr<sqlite3_stmt, StmtFinalizer>;

inline void Exec(sqlite3 *db, const char *sql) {
    char *error = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &error) != SQLITE_OK) {
        const std::string message = error ? error : "sqlite3_exec failed";
        sqlite3_free(error);
        throw std::runtime_error(message);
    }
}

inline Stmt Prepare(sqlite3 *db, const char *sql) {
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(db));
    return Stmt(stmt);
}

inline Db OpenEmpty() {
    sqlite3 *db = nullptr;
    if (sqlite3_open(":memory:", &db) != SQLITE_OK) throw std::runtime_error("cannot open SQLite in memory");
    Db owned(db);
    Exec(db, "CREATE TABLE t(k INTEGER, v REAL, s TEXT)");
    return owned;
}

inline void Insert(sqlite3 *db, const std::vector<Record> &records) {
    Exec(db, "BEGIN");
    Stmt insert = Prepare(db, "INSERT INTO t(k, v, s) VALUES (?, ?, ?)");
    for (const Record &r : records) {
        sqlite3_bind_int(insert.get(), 1, r.key);
        sqlite3_bind_double(insert.get(), 2, r.value);
        sqlite3_bind_text(insert.get(), 3, r.text.data(), static_cast<int>(r.text.size()), SQLITE_STATIC);
        if (sqlite3_step(insert.get()) != SQLITE_DONE) throw std::runtime_error(sqlite3_errmsg(db));
        sqlite3_reset(insert.get());
    }
    Exec(db, "COMMIT");
}

inline Db OpenLoaded() {
    Db db = OpenEmpty();
    Insert(db.get(), Records());
    return db;
}

}  // namespace quelt::bench
