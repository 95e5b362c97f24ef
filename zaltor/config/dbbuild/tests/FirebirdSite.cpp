#include "zaltor/config/dbbuild/tests/SiteDb.h"

#include "testsupport/TempDir.h"

#include <gtest/gtest.h>
#include <QProcess>
#include <QSqlError>
#include <QStandardPaths>

namespace zaltor::dbbuild::tests {
namespace {

struct IsqlRun {
    bool ok;
    std::string output;
};

IsqlRun isql(const QString &program, const QStringList &arguments, const QByteArray &input) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    process.write(input);
    process.closeWriteChannel();
    const bool finished = process.waitForFinished(60000);
    const std::string output = process.readAll().toStdString();
    return {finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0,
            output};
}

class FirebirdSite : public SiteDb {
  public:
    FirebirdSite() {
        const QString program = QStandardPaths::findExecutable(QStringLiteral("isql-fb"));
        if (program.isEmpty()) {
            whyNot = "no isql-fb";
            return;
        }
        if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QIBASE"))) {
            whyNot = "no QIBASE driver";
            return;
        }
        const QString file = QString::fromStdString((dir_ / "site.fdb").string());
        const IsqlRun created =
            isql(program, {QStringLiteral("-q"), QStringLiteral("-user"), QStringLiteral("SYSDBA")},
                 "CREATE DATABASE '" + file.toUtf8() + "' DEFAULT CHARACTER SET UTF8;\n");
        if (!created.ok) {
            whyNot = "the embedded engine cannot create a database: " + created.output;
            return;
        }
        const IsqlRun schema =
            isql(program,
                 {QStringLiteral("-q"), QStringLiteral("-b"), QStringLiteral("-ch"),
                  QStringLiteral("UTF8"), QStringLiteral("-user"), QStringLiteral("SYSDBA"), file,
                  QStringLiteral("-i"), QStringLiteral(DBBUILD_SCHEMA_DIR "/schema-firebird.sql")},
                 {});
        if (!schema.ok) {
            ADD_FAILURE() << "schema-firebird.sql: " << schema.output;
            return;
        }
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QIBASE"), name_);
        db.setDatabaseName(file);
        db.setUserName(QStringLiteral("SYSDBA"));
        db.setConnectOptions(QStringLiteral("ISC_DPB_LC_CTYPE=UTF8"));
        if (!db.open()) ADD_FAILURE() << "Firebird: " << db.lastError().text().toStdString();
    }

    // The database file goes with the directory, before the base would close the connection.
    ~FirebirdSite() override { db().close(); }

    std::string whyNot;

  private:
    testsupport::TempDir dir_;
};

}  // namespace

std::unique_ptr<SiteDb> firebirdSite(std::string &whyNot) {
    auto site = std::make_unique<FirebirdSite>();
    whyNot = site->whyNot;
    if (!whyNot.empty()) return nullptr;
    return site;
}

}  // namespace zaltor::dbbuild::tests
