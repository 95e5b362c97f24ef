#pragma once
// The configuration image of the demo's panel 1 built in this process by buildFromDatabase,
// timed build by build, printed as min and median.
#include <QSqlDatabase>

namespace bench {

inline constexpr int kBuildRuns = 20;

// Throws std::runtime_error when a build fails.
void reportBuilds(const char *name, const QSqlDatabase &db, const char *goal);

// The demo site loaded into a private Firebird server, or a note when none can run here.
void reportFirebirdBuilds();

}  // namespace bench
