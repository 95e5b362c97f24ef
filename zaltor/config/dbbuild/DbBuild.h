#pragma once
// One panel's configuration image built from the site database: its blocks in poll order with
// their zones and control channels, its users' cards and passwords, its section memberships.
#include "zaltor/config/ConfigImage.h"
#include "zaltor/shell/connect/EngineUi.h"
#include "zaltor/shell/connect/OperationState.h"

#include <QSqlDatabase>
#include <QString>

#include <string_view>

namespace zaltor::dbbuild {

inline constexpr std::string_view kBlockProgressText = "Читается информация о блоке №";

enum class BuildStatus {
    kBuilt,          // the image holds the panel's configuration
    kStopped,        // the operation flag was cleared; the image is not to be written
    kDatabaseError,  // the blocks query, a zone or channel query, or a value they read failed
};

struct BuildResult {
    BuildStatus status = BuildStatus::kBuilt;
    QString error;  // with kDatabaseError: the message for the general error report
};

// Resets the image and fills it from the rows of panel `panel` (its N in CTAB), showing the
// progress of each block. The operation flag is looked at before every block: the progress
// display processes pending events, in which an abort may clear it. Closing the panel
// connection after kStopped or kDatabaseError, and showing the error, are the caller's: the
// build knows no connection.
BuildResult buildFromDatabase(const QSqlDatabase &db, int panel, ConfigImage &image,
                              shell::IEngineUi &ui, const shell::OperationState &state);

}  // namespace zaltor::dbbuild
