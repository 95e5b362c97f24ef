#pragma once
// Runs an SQL script of this repository (a schema or the demo site) over a Qt connection, one
// statement at a time, so the same file loads into SQLite and Firebird alike.
#include <QSqlDatabase>

#include <string>

namespace bench {

// Statements end with ';' at the end of a line; "--" lines are comments. BEGIN and COMMIT
// become the driver's transaction calls (Firebird takes no BEGIN statement), a COMMIT outside
// one is a no-op, SET (isql's dialect line) is left out, and anything else outside a transaction
// commits by itself, as Firebird needs a table's creation committed before its rows. Throws
// std::runtime_error with the statement and the database's message.
void runSqlScript(const QSqlDatabase &db, const std::string &path);

}  // namespace bench
