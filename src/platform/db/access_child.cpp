#include "platform/db/access_child.h"

// glib first: mdbtools.h includes it inside extern "C".
#include <glib.h>
#include <mdbtools.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
#define CLAVIDO_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define CLAVIDO_ASAN 1
#endif
#endif

// The child of the Access reader: libmdb and plain system calls, nothing of Qt.
namespace db::access::child {

const char* const kName = "clavido-access-reader";

namespace {

constexpr int kOffsetMask = 0x1fff;

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

[[noreturn]] void serve(char** argv) {
    const char* path = argv[1];
    const char* table = argv[2];
    const rlim_t seconds = std::strtoull(argv[3], nullptr, 10);
    const rlim_t memory = std::strtoull(argv[4], nullptr, 10);
    const uint64_t bytes = std::min<uint64_t>(std::strtoull(argv[5], nullptr, 10), 0x3fffffff);
    setLimit(RLIMIT_CORE, 0); // no core file full of the file's secrets
    setLimit(RLIMIT_CPU, seconds);
    setLimit(RLIMIT_FSIZE, 0); // it writes no file
#ifndef CLAVIDO_ASAN
    // The sanitizer's shadow memory does not live with a bound on the address space.
    if (const rlim_t now = addressSpace())
        setLimit(RLIMIT_AS, now + memory);
#else
    (void)memory;
#endif
    _exit(readInChild(path, table, kOutput, bytes));
}

// Runs before main() in whatever program links the reader, so that the
// program's file started under the child's name reads and ends at once.
// glibc hands every initialiser the program's arguments.
__attribute__((constructor)) void serveIfChild(int argc, char** argv, char**) {
    if (argc == kArguments && argv && argv[0] && std::strcmp(argv[0], kName) == 0)
        serve(argv);
}

} // namespace

} // namespace db::access::child
