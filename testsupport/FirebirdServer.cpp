#include "testsupport/FirebirdServer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <ibase.h>
#include <netinet/in.h>
#include <pwd.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>
#include <vector>

extern char **environ;

namespace testsupport {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr const char *kServerBinary = "/usr/sbin/firebird";
constexpr const char *kSetpriv = "/usr/bin/setpriv";
constexpr const char *kSecurityDatabase = "/var/lib/firebird/3.0/system/security3.fdb";
constexpr const char *kPasswordFile = "/etc/firebird/3.0/SYSDBA.password";

// A port the kernel has just found free on loopback. Another process may take it before the
// server binds it; the server then ends and the start is tried on another.
uint16_t freePort() {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    const bool bound = fd >= 0 && bind(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) == 0 &&
                       getsockname(fd, reinterpret_cast<sockaddr *>(&addr), &len) == 0;
    if (fd >= 0) close(fd);
    if (!bound) throw std::runtime_error("no free port on loopback");
    return ntohs(addr.sin_port);
}

// The SYSDBA password the package recorded at installation, which the copied security
// database carries.
std::string sysdbaPassword() {
    std::ifstream in(kPasswordFile);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.starts_with("ISC_PASSWORD=")) continue;
        std::string value = line.substr(13);
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
        return value;
    }
    return "masterkey";
}

// True when process `pid` itself listens on TCP `port`, so a process that took the port
// first is never taken for the server.
bool listensOn(pid_t pid, uint16_t port) {
    std::ifstream tcp("/proc/net/tcp");
    std::string line;
    std::getline(tcp, line);  // column titles
    std::vector<std::string> sockets;
    while (std::getline(tcp, line)) {
        std::istringstream row(line);
        std::string slot, local, remote, state, queues, timer, retransmits, uid, timeout, inode;
        row >> slot >> local >> remote >> state >> queues >> timer >> retransmits >> uid >> timeout >> inode;
        const auto colon = local.find(':');
        if (state == "0A" && colon != std::string::npos && std::stoul(local.substr(colon + 1), nullptr, 16) == port)
            sockets.push_back("socket:[" + inode + "]");
    }
    std::error_code ec;
    for (fs::directory_iterator fd("/proc/" + std::to_string(pid) + "/fd", ec), end; !ec && fd != end;
         fd.increment(ec)) {
        std::error_code gone;  // a descriptor closed since the listing
        const std::string target = fs::read_symlink(fd->path(), gone).string();
        if (!gone && std::find(sockets.begin(), sockets.end(), target) != sockets.end()) return true;
    }
    return false;
}

std::string readFile(const fs::path &file) {
    std::ifstream in(file);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

std::string FirebirdServer::unavailable() {
    if (access(kServerBinary, X_OK) != 0) return std::string("no Firebird server at ") + kServerBinary + " (./setup installs it)";
    if (access(kSetpriv, X_OK) != 0) return std::string("no ") + kSetpriv;
    if (!getpwnam("firebird")) return "no firebird user";
    if (geteuid() != 0) return "the server runs as the firebird user, which needs root";
    if (access(kSecurityDatabase, R_OK) != 0) return std::string("no security database at ") + kSecurityDatabase;
    return {};
}

FirebirdServer::FirebirdServer() : password_(sysdbaPassword()) {
    if (const std::string why = unavailable(); !why.empty()) throw std::runtime_error(why);
    fs::copy_file(kSecurityDatabase, dir_ / "security3.fdb");
    fs::create_directory(dir_ / "lock");
    fs::create_directory(dir_ / "tmp");
    const passwd *firebird = getpwnam("firebird");
    for (const auto &path : {dir_.path(), dir_ / "security3.fdb", dir_ / "lock", dir_ / "tmp"})
        if (chown(path.c_str(), firebird->pw_uid, firebird->pw_gid) != 0)
            throw std::runtime_error("cannot give " + path.string() + " to the firebird user");
    std::string why;
    for (int attempt = 0; attempt < 5; ++attempt) {
        port_ = freePort();
        if (start(port_, &why)) return;
    }
    throw std::runtime_error("the Firebird server did not start: " + why);
}

FirebirdServer::~FirebirdServer() { stop(); }

std::string FirebirdServer::server() const { return "127.0.0.1/" + std::to_string(port_); }

// RemoteBindAddress keeps the server on loopback; its own root folder keeps its configuration,
// security database and lock files apart from the machine's server.
bool FirebirdServer::start(uint16_t port, std::string *why) {
    std::ofstream(dir_ / "firebird.conf") << "RemoteServicePort = " << port << "\n"
                                          << "RemoteBindAddress = 127.0.0.1\n"
                                          << "SecurityDatabase = " << (dir_ / "security3.fdb").string() << "\n";
    std::vector<std::string> env;
    for (char **e = environ; *e; ++e)
        if (!std::string_view(*e).starts_with("FIREBIRD")) env.emplace_back(*e);
    env.push_back("FIREBIRD=" + dir_.path().string());
    env.push_back("FIREBIRD_LOCK=" + (dir_ / "lock").string());
    env.push_back("FIREBIRD_TMP=" + (dir_ / "tmp").string());
    std::vector<char *> envp;
    for (auto &e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    const char *argv[] = {kSetpriv, "--reuid=firebird", "--regid=firebird", "--init-groups", kServerBinary, nullptr};

    const std::string output = (dir_ / "server.out").string();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    posix_spawn_file_actions_addchdir_np(&actions, dir_.path().c_str());
    const int failed = posix_spawn(&pid_, kSetpriv, &actions, nullptr, const_cast<char *const *>(argv), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (failed) {
        pid_ = -1;
        throw std::runtime_error(std::string("cannot start ") + kSetpriv);
    }
    // It listens in well under a second; the limit is for a loaded machine.
    for (auto deadline = std::chrono::steady_clock::now() + 30s; std::chrono::steady_clock::now() < deadline;) {
        if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
            pid_ = -1;
            *why = readFile(output);
            return false;
        }
        if (listensOn(pid_, port)) return true;
        std::this_thread::sleep_for(20ms);
    }
    stop();
    *why = "it did not listen on port " + std::to_string(port) + " within 30 s";
    return false;
}

// It ends within a fraction of a second of SIGTERM, but now and then (3.0.11, about one stop in
// six, idle or not) it misses the signal for good; its files are scratch, so it is killed then.
void FirebirdServer::stop() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    for (auto deadline = std::chrono::steady_clock::now() + 5s; std::chrono::steady_clock::now() < deadline;) {
        if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
            pid_ = -1;
            return;
        }
        std::this_thread::sleep_for(20ms);
    }
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
}

std::string FirebirdServer::createDatabase(const std::string &name) const {
    const std::string file = (dir_ / name).string();
    const std::string sql = "CREATE DATABASE '" + server() + ":" + file + "' USER '" + kUser + "' PASSWORD '" +
                            password_ + "' DEFAULT CHARACTER SET UTF8";
    ISC_STATUS_ARRAY status{};
    isc_db_handle db = 0;
    isc_tr_handle transaction = 0;
    if (isc_dsql_execute_immediate(status, &db, &transaction, 0, sql.c_str(), SQL_DIALECT_V6, nullptr)) {
        std::string text;
        char line[512];
        for (const ISC_STATUS *p = status; fb_interpret(line, sizeof line, &p);) text += std::string(line) + "\n";
        throw std::runtime_error("cannot create " + file + ": " + text);
    }
    isc_detach_database(status, &db);
    return file;
}

}  // namespace testsupport
