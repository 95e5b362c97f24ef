#pragma once
// The panel's users into the card and password tables of the image.
#include "zaltor/config/ConfigImage.h"

#include <QSqlDatabase>

namespace zaltor::dbbuild {

// Row u of both tables for each user row with a user number u in 0..255; other rows are
// skipped, and a later row for the same user replaces the earlier. An unreadable users table
// reads as no rows. A PASSW outside 0..9999 leaves that user's password unset; a null one is
// the password 0000.
void loadUsers(const QSqlDatabase &db, int panel, ConfigImage &image);

}  // namespace zaltor::dbbuild
