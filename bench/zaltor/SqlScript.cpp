#include "bench/zaltor/SqlScript.h"

#include <QSqlError>
#include <QSqlQuery>

#include <fstream>
#include <stdexcept>
#include <string_view>

namespace bench {
namespace {

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

QString firstWord(const std::string &statement) {
    return QString::fromStdString(statement).section(QLatin1Char(' '), 0, 0).toUpper();
}

}  // namespace

void runSqlScript(const QSqlDatabase &db, const std::string &path) {
    std::ifstream in(path);
    if (!in) throw std::runtime_error("cannot read " + path);
    QSqlDatabase connection = db;
    const auto fail = [&path](const std::string &statement, const QSqlError &error) {
        return std::runtime_error(path + ": " + statement + ": " + error.text().toStdString());
    };
    QSqlQuery query(connection);
    bool inTransaction = false;
    std::string statement;
    for (std::string line; std::getline(in, line);) {
        const std::string_view text = trimmed(line);
        if (text.empty() || text.starts_with("--")) continue;
        statement += statement.empty() ? "" : "\n";
        statement += text;
        if (!text.ends_with(';')) continue;
        statement.pop_back();
        const QString word = firstWord(statement);
        if (word == QLatin1String("BEGIN")) {
            if (!connection.transaction()) throw fail(statement, connection.lastError());
            inTransaction = true;
        } else if (word == QLatin1String("COMMIT")) {
            if (inTransaction && !connection.commit())
                throw fail(statement, connection.lastError());
            inTransaction = false;
        } else if (word != QLatin1String("SET") && !query.exec(QString::fromStdString(statement))) {
            throw fail(statement, query.lastError());
        }
        statement.clear();
    }
    if (inTransaction) throw std::runtime_error(path + ": a transaction without COMMIT");
}

}  // namespace bench
