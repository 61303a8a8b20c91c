#include "platform/db/access_reader.h"

#include "platform/db/access_child.h"

#include <QFile>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace db::access {

Limits& Limits::standard() {
    static Limits limits;
    return limits;
}

namespace {

using namespace child;

class Reader {
public:
    explicit Reader(const QByteArray& data)
        : data_(data) {}
    bool u8(uint8_t& v) {
        if (at_ + 1 > data_.size())
            return false;
        v = uint8_t(data_[at_++]);
        return true;
    }
    bool u32(uint32_t& v) {
        if (at_ + 4 > data_.size())
            return false;
        v = 0;
        for (int i = 0; i < 4; ++i)
            v |= uint32_t(uint8_t(data_[at_ + i])) << (8 * i);
        at_ += 4;
        return true;
    }
    bool bytes(uint32_t size, QByteArray& v) {
        if (qsizetype(size) > data_.size() - at_)
            return false;
        v = data_.mid(at_, size);
        at_ += size;
        return true;
    }
    bool atEnd() const { return at_ == data_.size(); }

private:
    const QByteArray& data_;
    qsizetype at_ = 0;
};

bool parse(const QByteArray& data, RawTable& table) {
    Reader in(data);
    QByteArray magic;
    uint32_t count = 0;
    if (!in.bytes(4, magic) || magic != kMagic || !in.u32(count) || count > 4096)
        return false;
    for (uint32_t i = 0; i < count; ++i) {
        uint32_t length = 0;
        QByteArray name;
        if (!in.u32(length) || !in.bytes(length, name))
            return false;
        table.columns.push_back(QString::fromUtf8(name));
    }
    for (;;) {
        uint8_t more = 0;
        if (!in.u8(more))
            return false;
        if (!more)
            break;
        std::vector<std::optional<QByteArray>> row(count);
        for (uint32_t i = 0; i < count; ++i) {
            uint32_t length = 0;
            if (!in.u32(length))
                return false;
            if (length == kNull)
                continue;
            QByteArray value;
            if (!in.bytes(length, value))
                return false;
            // Empty, but not NULL.
            row[i] = value.isNull() ? QByteArray("") : value;
        }
        table.rows.push_back(std::move(row));
    }
    uint32_t rows = 0;
    return in.u32(rows) && rows == table.rows.size() && in.atEnd();
}

// This program's own file, started afresh as the child: it gets the file's
// name and its limits, and nothing of this process's memory.
pid_t spawn(const QByteArray& file, const QByteArray& table, int output, const Limits& limits) {
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attributes);
    // libmdb's warnings are of no use to anyone here.
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    posix_spawn_file_actions_adddup2(&actions, output, kOutput);
    posix_spawn_file_actions_addclosefrom_np(&actions, kOutput + 1);
    sigset_t none;
    sigemptyset(&none);
    sigset_t all;
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    const std::string seconds = std::to_string(limits.seconds);
    const std::string memory = std::to_string(limits.memory);
    const std::string bytes = std::to_string(limits.bytes);
    const char* argv[] = {kName,           file.constData(), table.constData(),
                          seconds.c_str(), memory.c_str(),   bytes.c_str(),
                          nullptr};
    static_assert(std::size(argv) == kArguments + 1);
    // Only what the runtime itself reads: nothing else of the environment
    // reaches libmdb (which reads options of its own from it).
    std::vector<char*> env;
    for (char** e = environ; e && *e; ++e) {
        for (const char* kept :
             {"LD_LIBRARY_PATH=", "ASAN_OPTIONS=", "UBSAN_OPTIONS=", "LSAN_OPTIONS="}) {
            if (std::strncmp(*e, kept, std::strlen(kept)) == 0)
                env.push_back(*e);
        }
    }
    env.push_back(nullptr);

    pid_t pid = -1;
    const int failed = posix_spawn(&pid, "/proc/self/exe", &actions, &attributes,
                                   const_cast<char* const*>(argv), env.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    return failed ? -1 : pid;
}

void stop(pid_t pid) {
    kill(pid, SIGKILL);
    while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
    }
}

} // namespace

RawTable readTable(const QString& path, const QString& tableName, const Limits& limits) {
    using Clock = std::chrono::steady_clock;
    RawTable table;
    const QByteArray file = QFile::encodeName(path);
    const QByteArray name = tableName.toUtf8();
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        return table;
    // Above the descriptors the child's own are put into.
    const int output = fcntl(fds[1], F_DUPFD_CLOEXEC, kOutput + 1);
    ::close(fds[1]);
    const pid_t pid = output < 0 ? -1 : spawn(file, name, output, limits);
    if (output >= 0)
        ::close(output);
    if (pid < 0) {
        ::close(fds[0]);
        return table;
    }

    const auto deadline = Clock::now() + std::chrono::seconds(limits.seconds);
    auto remaining = [&] {
        return int(std::max<qint64>(
            0, std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now())
                   .count()));
    };
    QByteArray data;
    std::vector<char> block(1 << 16);
    table.result = RawTable::Result::Failed;
    bool ended = false;
    while (!ended) {
        struct pollfd p = {fds[0], POLLIN, 0};
        const int ready = poll(&p, 1, remaining());
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready == 0) {
            table.result = RawTable::Result::TimedOut;
            break;
        }
        const ssize_t got = ::read(fds[0], block.data(), block.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            ended = true;
            break;
        }
        data.append(block.data(), got);
        if (data.size() > limits.bytes) {
            table.result = RawTable::Result::TooBig;
            break;
        }
    }
    ::close(fds[0]);
    if (!ended) {
        stop(pid);
        return {table.result, {}, {}};
    }
    // The child has closed its end: it is ending, or ends within its time.
    int status = 0;
    pid_t done = 0;
    while ((done = waitpid(pid, &status, WNOHANG)) == 0 && remaining() > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    if (done != pid) {
        stop(pid);
        return {RawTable::Result::TimedOut, {}, {}};
    }
    if (!WIFEXITED(status))
        return table;
    switch (WEXITSTATUS(status)) {
    case kRead:
        if (parse(data, table)) {
            table.result = RawTable::Result::Read;
            return table;
        }
        return {RawTable::Result::Failed, {}, {}};
    case kNoTable:
        return {RawTable::Result::NoTable, {}, {}};
    case kNotText:
        return {RawTable::Result::NotText, {}, {}};
    case kNotReadable:
        return {RawTable::Result::NotReadable, {}, {}};
    default:
        return {RawTable::Result::Failed, {}, {}};
    }
}

} // namespace db::access
