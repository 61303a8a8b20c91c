#include "platform/db/access_reader.h"

#include <QFile>

#include <mdbtools.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
#define CLAVIDO_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define CLAVIDO_ASAN 1
#endif
#endif

namespace db::access {

Limits& Limits::standard() {
    static Limits limits;
    return limits;
}

namespace {

// What the child says by its exit status; anything else is a failure.
enum Exit : int {
    kRead = 0,
    kNoTable = 3,
    kNotText = 4,
    kNotReadable = 5,
};

constexpr uint32_t kNull = 0xffffffff;
constexpr char kMagic[] = "ACC1";
constexpr int kOffsetMask = 0x1fff;

// ---- the child: libmdb and plain system calls, nothing of Qt --------------

class Pipe {
public:
    explicit Pipe(int fd)
        : fd_(fd) {}
    void u8(uint8_t v) { buffer_.push_back(char(v)); }
    void u32(uint32_t v) {
        for (int i = 0; i < 4; ++i)
            buffer_.push_back(char((v >> (8 * i)) & 0xff));
    }
    void bytes(const void* data, size_t size) {
        buffer_.append(static_cast<const char*>(data), size);
        if (buffer_.size() >= (1 << 16))
            flush();
    }
    void flush() {
        size_t done = 0;
        while (done < buffer_.size()) {
            const ssize_t put = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
            if (put < 0 && errno == EINTR)
                continue;
            if (put <= 0)
                _exit(kNotReadable);
            done += size_t(put);
        }
        buffer_.clear();
    }

private:
    int fd_;
    std::string buffer_;
};

bool inPage(MdbHandle* mdb, long start, long size) {
    return start >= 0 && size >= 0 && start + size <= long(mdb->fmt->pg_size);
}

// The row a page-and-row pointer of an LVAL page names, if it lies in its page.
bool lvalRow(MdbHandle* mdb, int32_t pageRow, const char*& row, size_t& size) {
    void* buf = nullptr;
    int start = 0;
    if (mdb_find_pg_row(mdb, pageRow, &buf, &start, &size) != 0)
        return false;
    start &= kOffsetMask;
    if (!inPage(mdb, start, long(size)))
        return false;
    row = static_cast<const char*>(buf) + start;
    return true;
}

// A Memo value: its 12-byte head in the row, the text inline or on LVAL pages.
bool memoBytes(MdbHandle* mdb, const unsigned char* head, long size, uint64_t limit,
               std::string& out) {
    if (size < MDB_MEMO_OVERHEAD)
        return false;
    const uint32_t flags = uint32_t(mdb_get_int32(const_cast<unsigned char*>(head), 0));
    const uint32_t length = flags & 0x3fffffff;
    if (length > limit)
        return false;
    if (flags & 0x80000000) {
        if (length > uint64_t(size - MDB_MEMO_OVERHEAD))
            return false;
        out.assign(reinterpret_cast<const char*>(head) + MDB_MEMO_OVERHEAD, length);
        return true;
    }
    int32_t pageRow = int32_t(mdb_get_int32(const_cast<unsigned char*>(head), 4));
    const char* row = nullptr;
    size_t got = 0;
    if (flags & 0x40000000) {
        if (!lvalRow(mdb, pageRow, row, got) || got < length)
            return false;
        out.assign(row, length);
        return true;
    }
    if (flags & 0xc0000000)
        return false;
    // A chain of pages, each starting with the pointer to the next. Every
    // page brings at least one byte, so the chain ends by the length at last;
    // one that comes back to a page it passed is damaged.
    out.clear();
    std::set<int32_t> passed;
    while (out.size() < length) {
        if (pageRow == 0 || !passed.insert(pageRow).second)
            return false;
        if (!lvalRow(mdb, pageRow, row, got) || got <= 4)
            return false;
        out.append(row + 4, std::min<size_t>(got - 4, length - out.size()));
        pageRow = int32_t(mdb_get_int32(const_cast<char*>(row), 0));
    }
    return true;
}

// Whether all the rows of the catalog could be read: a file cut short loses
// entries without a word.
bool catalogWhole(MdbHandle* mdb) {
    MdbCatalogEntry system = {};
    system.mdb = mdb;
    std::strcpy(system.object_name, "MSysObjects");
    system.object_type = MDB_TABLE;
    system.table_pg = 2;
    MdbTableDef* table = mdb_read_table(&system);
    if (!table)
        return false;
    unsigned rows = 0;
    if (mdb_read_columns(table)) {
        mdb_rewind_table(table);
        while (mdb_fetch_row(table))
            ++rows;
    }
    const bool whole = rows > 0 && rows == table->num_rows;
    mdb_free_tabledef(table);
    return whole;
}

int readInChild(const char* path, const char* wanted, int fd, uint64_t limit) {
    // The names come as UTF-8, whatever the environment asks of libmdb.
    unsetenv("MDBICONV");
    unsetenv("MDB_JET3_CHARSET");
    MdbHandle* mdb = mdb_open(path, MDB_NOFLAGS);
    if (!mdb || !mdb_read_catalog(mdb, MDB_TABLE) || !catalogWhole(mdb))
        return kNotReadable;
    MdbCatalogEntry* entry = nullptr;
    for (unsigned i = 0; i < mdb->num_catalog; ++i) {
        auto* e = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        if (e->object_type == MDB_TABLE && g_ascii_strcasecmp(e->object_name, wanted) == 0) {
            entry = e;
            break;
        }
    }
    if (!entry)
        return kNoTable;
    MdbTableDef* table = mdb_read_table(entry);
    if (!table || !mdb_read_columns(table))
        return kNotReadable;
    const unsigned count = table->num_cols;
    for (unsigned i = 0; i < count; ++i) {
        auto* col = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
        if (col->col_type != MDB_TEXT && col->col_type != MDB_MEMO)
            return kNotText;
    }

    Pipe out(fd);
    out.bytes(kMagic, 4);
    out.u32(count);
    for (unsigned i = 0; i < count; ++i) {
        auto* col = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
        const size_t length = strnlen(col->name, sizeof col->name);
        out.u32(uint32_t(length));
        out.bytes(col->name, length);
    }

    std::vector<MdbField> fields(count ? count : 1);
    std::string memo;
    uint32_t rows = 0;
    mdb_rewind_table(table);
    while (mdb_fetch_row(table)) {
        // The row libmdb stands on, cracked once more for its NULLs and bytes.
        int start = 0;
        size_t size = 0;
        if (table->cur_row == 0 || mdb_find_row(mdb, int(table->cur_row) - 1, &start, &size) != 0)
            return kNotReadable;
        start &= kOffsetMask;
        if (!inPage(mdb, start, long(size)) || mdb_crack_row(table, start, size, fields.data()) < 0)
            return kNotReadable;
        std::vector<const MdbField*> byColumn(count, nullptr);
        for (unsigned i = 0; i < count; ++i) {
            if (fields[i].colnum < 0 || unsigned(fields[i].colnum) >= count)
                return kNotReadable;
            byColumn[fields[i].colnum] = &fields[i];
        }
        out.u8(1);
        for (unsigned i = 0; i < count; ++i) {
            const MdbField* f = byColumn[i];
            if (!f || f->is_null) {
                out.u32(kNull);
                continue;
            }
            if (!inPage(mdb, f->start, f->siz))
                return kNotReadable;
            const unsigned char* at = mdb->pg_buf + f->start;
            auto* col = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
            if (col->col_type == MDB_MEMO && f->siz == 0) {
                out.u32(0);
            } else if (col->col_type == MDB_MEMO) {
                if (!memoBytes(mdb, at, f->siz, limit, memo))
                    return kNotReadable;
                out.u32(uint32_t(memo.size()));
                out.bytes(memo.data(), memo.size());
            } else {
                out.u32(uint32_t(f->siz));
                out.bytes(at, size_t(f->siz));
            }
        }
        ++rows;
    }
    // Pages that cannot be read end the walk early, without a word.
    if (rows != table->num_rows)
        return kNotReadable;
    out.u8(0);
    out.u32(rows);
    out.flush();
    return kRead;
}

void setLimit(int resource, rlim_t value) {
    const struct rlimit limit = {value, value};
    setrlimit(resource, &limit);
}

// The size of this process's address space now, from /proc (system calls only).
rlim_t addressSpace() {
    const int fd = ::open("/proc/self/statm", O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    char text[64] = {};
    const ssize_t got = ::read(fd, text, sizeof text - 1);
    ::close(fd);
    if (got <= 0)
        return 0;
    return rlim_t(std::strtoull(text, nullptr, 10)) * rlim_t(sysconf(_SC_PAGESIZE));
}

[[noreturn]] void child(const QByteArray& path, const QByteArray& table, int fd,
                        const Limits& limits) {
    // libmdb's warnings are of no use to anyone here.
    const int quiet = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (quiet >= 0) {
        dup2(quiet, STDOUT_FILENO);
        dup2(quiet, STDERR_FILENO);
    }
    setLimit(RLIMIT_CPU, rlim_t(limits.seconds));
    setLimit(RLIMIT_CORE, 0);  // no core file full of secrets
    setLimit(RLIMIT_FSIZE, 0); // it writes no file
#ifndef CLAVIDO_ASAN
    // The sanitizer's shadow memory does not live with a bound on the address space.
    if (const rlim_t now = addressSpace())
        setLimit(RLIMIT_AS, now + rlim_t(limits.memory));
#endif
    _exit(readInChild(path.constData(), table.constData(), fd,
                      uint64_t(std::min(limits.bytes, qint64(0x3fffffff)))));
}

// ---- the parent: what came through the pipe ------------------------------

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
    const pid_t pid = fork();
    if (pid < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        return table;
    }
    if (pid == 0) {
        ::close(fds[0]);
        child(file, name, fds[1], limits);
    }
    ::close(fds[1]);

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
