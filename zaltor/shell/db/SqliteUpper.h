#pragma once
// SQLite's own UPPER folds only ASCII letters, so UPPER(CT.CTYPE)='ПУЛЬТ M50' would find no
// panel. The loader's SQLite connections replace it by one that folds every letter.
#include <QSqlDatabase>

namespace zaltor::shell {

// For an open QSQLITE connection; false when it holds no SQLite handle or SQLite refused.
bool registerUnicodeUpper(const QSqlDatabase &db);

}  // namespace zaltor::shell
