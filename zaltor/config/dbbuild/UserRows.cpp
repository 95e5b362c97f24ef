#include "zaltor/config/dbbuild/UserRows.h"

#include "zaltor/config/dbbuild/BuildQueries.h"
#include "zaltor/config/dbbuild/SqlValues.h"
#include "zaltor/config/dbbuild/UserKeys.h"

#include <QSqlQuery>

#include <algorithm>

namespace zaltor::dbbuild {

void loadUsers(const QSqlDatabase &db, int panel, ConfigImage &image) {
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(kUsersQuery)) return;
    query.bindValue(QStringLiteral(":N"), panel);
    if (!query.exec()) return;
    while (query.next()) {
        const auto user = rowNumber(query.value(QStringLiteral("TCN_N")));
        if (!user || *user < 0 || *user >= ConfigImage::kUsers) continue;
        const auto u = static_cast<uint8_t>(*user);

        KeyRow &card = image.cards[u];
        card[0] = 1;
        card[1] = u;
        const auto code = cardCodeOf(query.value(QStringLiteral("NUM_KD")).toString());
        std::copy(code.begin(), code.end(), card.begin() + 2);

        KeyRow &password = image.passwords[u];
        password[0] = 0;
        password[1] = u;
        const auto passw = integerOrZero(query.value(QStringLiteral("PASSW")));
        const auto digits = passw ? passwordDigits(*passw) : std::nullopt;
        password[2] = digits ? (*digits)[0] : 0xFF;
        password[3] = digits ? (*digits)[1] : 0xFF;
    }
}

}  // namespace zaltor::dbbuild
