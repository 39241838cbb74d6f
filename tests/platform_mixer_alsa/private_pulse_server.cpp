#include "private_pulse_server.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

extern char** environ;

namespace {

constexpr int kExitWaitMs = 10000;

// Runs a program with the given environment and waits for it; its exit code, or -1.
int runAndWait(const std::vector<std::string>& arguments, const std::vector<std::string>& env) {
    std::vector<char*> argv;
    for (const std::string& a : arguments) {
        argv.push_back(const_cast<char*>(a.c_str()));
    }
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (const std::string& e : env) {
        envp.push_back(const_cast<char*>(e.c_str()));
    }
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t child = -1;
    const int spawned = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        return -1;
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status);
}

// Waits until a process that is not our child has ended.
void waitForExit(pid_t pid) {
    const int fd = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
    if (fd < 0) {
        return;  // already gone
    }
    pollfd entry{fd, POLLIN, 0};
    poll(&entry, 1, kExitWaitMs);
    close(fd);
}

}  // namespace

bool PrivatePulseServer::programExists(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::string rest = path == nullptr ? "/usr/bin:/bin" : path;
    std::size_t start = 0;
    while (start <= rest.size()) {
        const std::size_t end = rest.find(':', start);
        const std::string folder = rest.substr(start, end - start);
        if (!folder.empty() && access((folder + "/" + program).c_str(), X_OK) == 0) {
            return true;
        }
        if (end == std::string::npos) {
            break;
        }
        start = end + 1;
    }
    return false;
}

namespace {

std::vector<std::string> environment() {
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) {
        env.emplace_back(*e);
    }
    return env;
}

}  // namespace

std::string PrivatePulseServer::start() {
    char pattern[] = "/tmp/qv-mixer-pulse-XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
        return "cannot make a temporary folder";
    }
    folder_ = pattern;
    // Everything PulseAudio keeps (runtime files, cookie, configuration) stays in the folder.
    setenv("XDG_RUNTIME_DIR", folder_.c_str(), 1);
    setenv("HOME", folder_.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (folder_ + "/config").c_str(), 1);
    setenv("PULSE_COOKIE", (folder_ + "/cookie").c_str(), 1);
    setenv("PULSE_SERVER", ("unix:" + folder_ + "/native").c_str(), 1);

    // With --daemonize the command returns once the daemon is ready.
    const int code = runAndWait(
        {"pulseaudio", "-n", "--daemonize=yes", "--use-pid-file=yes", "--exit-idle-time=-1",
         "--disable-shm=yes", "--log-target=file:" + folder_ + "/log", "-L",
         "module-native-protocol-unix auth-anonymous=1 socket=" + folder_ + "/native", "-L",
         "module-null-sink sink_name=radio", "-L", "module-null-sink sink_name=tv"},
        environment());
    std::ifstream pidFile(folder_ + "/pulse/pid");
    pidFile >> daemon_;
    if (code != 0 || daemon_ <= 0) {
        std::ifstream log(folder_ + "/log");
        const std::string text((std::istreambuf_iterator<char>(log)),
                               std::istreambuf_iterator<char>());
        return "pulseaudio did not start (exit code " + std::to_string(code) + "): " + text;
    }
    return {};
}

bool PrivatePulseServer::runClient(const std::vector<std::string>& arguments) {
    return runAndWait(arguments, environment()) == 0;
}

void PrivatePulseServer::stop() {
    if (daemon_ > 0 && kill(daemon_, SIGTERM) == 0) {
        waitForExit(daemon_);
    }
    daemon_ = -1;
}

PrivatePulseServer::~PrivatePulseServer() {
    stop();
    if (!folder_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
}
