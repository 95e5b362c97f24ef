#pragma once
// Opening the connection of a panel of the site database, found by its number in CTAB.
#include <optional>

#include <QSqlDatabase>

#include "zaltor/shell/connect/ConnectByValues.h"

namespace zaltor::shell {

// The panel's line, address and port from its CTAB row; host and network port from
// ethernetadtab when its parent is a network controller ("ZIDI50") with a row there, else empty
// (a serial connection). nullopt when the panel has no row or the database fails.
std::optional<PanelConnection> findPanelConnection(const QSqlDatabase &db, int panelNumber);

// findPanelConnection, then connectByValues. `connection` gets the values found (so the caller
// can close what was opened) and stays a fresh connection when none were found.
bool connectByTable(EngineContext &ctx, const QSqlDatabase &db, int panelNumber, intptr_t window, IProgressBar *bar,
                    PanelConnection &connection);

}  // namespace zaltor::shell
