#include "zaltor/shell/db/SqliteUpper.h"

#include <sqlite3.h>

#include <QSqlDriver>
#include <QString>
#include <QVariant>

namespace zaltor::shell {
namespace {

// UPPER(x) as QString::toUpper folds it: NULL stays NULL, a number is upper-cased as its text,
// as the built-in function does.
void unicodeUpper(sqlite3_context *context, int, sqlite3_value **argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(argv[0]));
    if (!text) {
        sqlite3_result_error_nomem(context);
        return;
    }
    const QByteArray upper = QString::fromUtf8(text, sqlite3_value_bytes(argv[0])).toUpper().toUtf8();
    sqlite3_result_text(context, upper.constData(), static_cast<int>(upper.size()), SQLITE_TRANSIENT);
}

}  // namespace

bool registerUnicodeUpper(const QSqlDatabase &db) {
    const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0) return false;
    sqlite3 *connection = *static_cast<sqlite3 *const *>(handle.constData());
    return connection && sqlite3_create_function_v2(connection, "upper", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC,
                                                    nullptr, unicodeUpper, nullptr, nullptr, nullptr) == SQLITE_OK;
}

}  // namespace zaltor::shell
