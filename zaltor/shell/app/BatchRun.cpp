#include "zaltor/shell/app/BatchRun.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include "zaltor/config/ConfigFile.h"
#include "zaltor/config/ImageDiff.h"
#include "zaltor/config/dbbuild/DbBuild.h"
#include "zaltor/config/sequences/ReadSequence.h"
#include "zaltor/config/sequences/SavePanelToFile.h"
#include "zaltor/config/sequences/WriteOperations.h"
#include "zaltor/shell/connect/CloseConnection.h"
#include "zaltor/shell/connect/ConnectByTable.h"
#include "zaltor/shell/db/SiteDatabase.h"

namespace zaltor::shell {
namespace {

enum class PanelCheck { M50, NotM50, DatabaseError };

PanelCheck CheckPanel(const QSqlDatabase &db, int panel) {
    QSqlQuery query(db);
    if (!query.prepare(QString::fromUtf8("select count(*) cnt from ctab where n=:n and ctype='Пульт M50'")))
        return PanelCheck::DatabaseError;
    query.bindValue(":n", panel);
    if (!query.exec() || !query.next()) return PanelCheck::DatabaseError;
    return query.value("cnt").toInt() != 0 ? PanelCheck::M50 : PanelCheck::NotM50;
}

ExitStatus Outcome(SequenceResult result) { return result == SequenceResult::Completed ? ExitStatus::Done : ExitStatus::Failed; }

class Batch {
public:
    Batch(const CommandLine &command, BatchEnvironment &env, const QSqlDatabase &db)
        : command_(command), env_(env), db_(db),
          ctx_{env.calls, env.ui, env.clock, env.state, env.log, env.params, nullptr} {}

    // Connected to the panel, or the status that ends the run.
    ExitStatus Connect() {
        env_.state.operation = connectByTable(ctx_, db_, command_.panel, 0, nullptr, connection_);
        if (env_.state.operation) return ExitStatus::Done;
        env_.ui.showMessage("Нет связи с панелью", kMessageCaption, MessageIcon::Information);
        closeConnection(ctx_, connection_);
        return ExitStatus::NoConnection;
    }

    ExitStatus Write() {
        ConfigImage image;
        if (!Build(image)) return ExitStatus::Failed;
        const ExitStatus written = Outcome(writeBuiltImage(ctx_, connection_, image));
        if (written != ExitStatus::Done || !command_.verify) return written;
        return Verify(image);
    }

    ExitStatus Save() {
        RecordBuffer buffer;
        const SequenceResult result = savePanelToFile(ctx_, connection_, buffer, *command_.saveFile);
        closeConnection(ctx_, connection_);
        return Outcome(result);
    }

    ExitStatus Load() {
        RecordBuffer records;
        const ConfigFileLoad load = loadConfigFile(*command_.loadFile, records);
        if (!load.ok || (!load.complete && !command_.force)) {
            env_.ui.showMessage("The file " + *command_.loadFile + " cannot be written into the panel: " +
                                    (load.ok ? "it is incomplete (" + load.stopReason + "); --force writes the " +
                                                   std::to_string(load.recordsBuilt) + " records read"
                                             : "it cannot be read"),
                                kMessageCaption, MessageIcon::Information);
            closeConnection(ctx_, connection_);
            return ExitStatus::Failed;
        }
        ConfigImage image;
        const SequenceResult result = writeFromRecords(ctx_, connection_, records, image);
        closeConnection(ctx_, connection_);
        return Outcome(result);
    }

private:
    bool Build(ConfigImage &image) {
        const dbbuild::BuildResult built = dbbuild::buildFromDatabase(db_, command_.panel, image, env_.ui, env_.state);
        if (built.status == dbbuild::BuildStatus::kBuilt) return true;
        if (built.status == dbbuild::BuildStatus::kDatabaseError)
            env_.ui.showMessage(built.error.toStdString(), kErrorCaption, MessageIcon::Error);
        closeConnection(ctx_, connection_);
        return false;
    }

    // The write closed its connection: the panel is connected again and read back.
    ExitStatus Verify(const ConfigImage &written) {
        env_.state.operation = true;
        if (const ExitStatus connected = Connect(); connected != ExitStatus::Done) return connected;
        RecordBuffer buffer;
        const int read = readPanel(ctx_, connection_, buffer);
        closeConnection(ctx_, connection_);
        if (read < 0) return ExitStatus::Failed;
        ConfigImage panel;
        panel.loadRecords(buffer);
        const std::vector<std::string> differences = describeDifferences(written, panel);
        for (const std::string &line : differences) env_.ui.showMessage(line, "verify", MessageIcon::Information);
        env_.ui.showMessage(differences.empty() ? "the panel holds what was written"
                                                : std::to_string(differences.size()) + " differences",
                            "verify", MessageIcon::Information);
        return differences.empty() ? ExitStatus::Done : ExitStatus::Failed;
    }

    const CommandLine &command_;
    BatchEnvironment &env_;
    const QSqlDatabase &db_;
    EngineContext ctx_;
    PanelConnection connection_;
};

}  // namespace

ExitStatus runBatch(const CommandLine &command, BatchEnvironment &env) {
    env.state.batchMode = true;
    TSiteDatabaseError error;
    std::optional<TSiteDatabase> site = OpenSiteDatabase(*command.alias, &error);
    if (!site) {
        env.ui.showMessage("Не удается установить соединение с БД (Alias=" + *command.alias + "). " + error.text,
                           kMessageCaption, MessageIcon::Information);
        return ExitStatus::Database;
    }
    ExitStatus status = ExitStatus::Done;
    {
        const QSqlDatabase db = site->database();
        switch (CheckPanel(db, command.panel)) {
        case PanelCheck::DatabaseError:
            env.ui.showMessage("The site database cannot be queried: " + db.lastError().text().toStdString(),
                               kMessageCaption, MessageIcon::Information);
            return ExitStatus::Database;
        case PanelCheck::NotM50:
            env.ui.showMessage("Неправильно задан номер панели по Ctab=" + std::to_string(command.panel) + ")",
                               kMessageCaption, MessageIcon::Information);
            return ExitStatus::NotM50Panel;
        case PanelCheck::M50:
            break;
        }
        Batch batch(command, env, db);
        status = batch.Connect();
        if (status != ExitStatus::Done) return status;
        env.ui.showIndicator();
        status = command.saveFile ? batch.Save() : command.loadFile ? batch.Load() : batch.Write();
        env.ui.hideIndicator();
    }
    return status;
}

}  // namespace zaltor::shell
