#include "zaltor/shell/connect/ConnectByTable.h"

#include <QSqlQuery>
#include <QVariant>

namespace zaltor::shell {
namespace {

// The row of the one-parameter query, or nullopt; a database error is reported as `failed`.
std::optional<QSqlQuery> firstRow(const QSqlDatabase &db, const char *sql, const QVariant &n, bool &failed) {
    QSqlQuery query(db);
    if (!query.prepare(QString::fromUtf8(sql))) {
        failed = true;
        return std::nullopt;
    }
    query.bindValue(QStringLiteral(":n"), n);
    if (!query.exec()) {
        failed = true;
        return std::nullopt;
    }
    if (!query.next()) return std::nullopt;
    return query;
}

}  // namespace

std::optional<PanelConnection> findPanelConnection(const QSqlDatabase &db, int panelNumber) {
    constexpr const char *kCtab = "select * from ctab where n=:n";
    bool failed = false;
    const auto panel = firstRow(db, kCtab, panelNumber, failed);
    if (!panel) return std::nullopt;

    PanelConnection c;
    c.portNumber = panel->value(QStringLiteral("PORT")).toInt();
    c.address = -panel->value(QStringLiteral("ADDR")).toInt();  // panels store their address negated
    c.line = panel->value(QStringLiteral("LINE")).toInt();
    const QVariant parentNumber = panel->value(QStringLiteral("PARENT"));

    const auto parent = firstRow(db, kCtab, parentNumber, failed);
    if (parent && parent->value(QStringLiteral("CTYPE")).toString() == QStringLiteral("ZIDI50")) {
        if (const auto net = firstRow(db, "select * from ethernetadtab where cn=:n", parentNumber, failed)) {
            c.host = net->value(QStringLiteral("IPADDR")).toString().toStdString();
            c.networkPort = net->value(QStringLiteral("SERVNAME")).toString().toStdString();
        }
    }
    if (failed) return std::nullopt;
    return c;
}

bool connectByTable(EngineContext &ctx, const QSqlDatabase &db, int panelNumber, intptr_t window, IProgressBar *bar,
                    PanelConnection &connection) {
    connection = PanelConnection{};
    const auto found = findPanelConnection(db, panelNumber);
    if (!found) return false;
    connection = *found;
    return connectByValues(ctx, connection, window, bar);
}

}  // namespace zaltor::shell
