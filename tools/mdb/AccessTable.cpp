// Jet table reading over mdbtools; see AccessTable.h.
//
// Rows are walked with mdb_fetch_row and then taken apart again with
// mdb_crack_row, because only the cracked fields tell a NULL from an empty
// text and give the raw bytes of every value.  Nothing is bound, so the
// library's own text conversions (whose dates are wrong before 1900) are
// never used for dates or numbers.
#include "mdb/AccessTable.h"

#include "ToolError.h"
#include "mdb/AccessTypes.h"

// glib first: mdbtools.h includes it inside extern "C", which C++ refuses.
#include <glib.h>

#include <mdbtools.h>

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>

namespace rackbook {

namespace {

const int kRowOffsetMask = 0x1fff; // the row's offset without its flag bits

bool hasAccessHeader(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    char header[32] = {};
    in.read(header, sizeof header);
    std::string text(header, static_cast<std::size_t>(in.gcount()));
    return text.find("Standard Jet DB") == 4 || text.find("Standard ACE DB") == 4;
}

std::string takeGString(gchar* text) {
    std::string out = text ? text : "";
    g_free(text);
    return out;
}

MdbColumn* columnAt(MdbTableDef* table, unsigned index) {
    return static_cast<MdbColumn*>(g_ptr_array_index(table->columns, index));
}

} // namespace

struct AccessTable::Impl {
    std::string path;
    MdbHandle* mdb = nullptr;
    MdbTableDef* table = nullptr;
    std::vector<AccessColumn> columns;
    std::vector<std::string> primaryKey;
    std::vector<MdbField> fields;
    std::string name;

    ~Impl() {
        if (table)
            mdb_free_tabledef(table);
        if (mdb)
            mdb_close(mdb);
    }

    void open(const std::string& wanted);
    void readColumns();
    void readPrimaryKey();
    AccessValue valueOf(const MdbField& field, const MdbColumn& column);
    std::string textOf(const MdbField& field, int type, std::size_t rawLength);
};

void AccessTable::Impl::open(const std::string& wanted) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0)
        throw ToolError(path + ": " + std::strerror(errno));
    if (!S_ISREG(info.st_mode))
        throw ToolError(path + ": is not a file");
    if (!hasAccessHeader(path))
        throw ToolError(path + ": is not a Microsoft Access (Jet) file");
    mdb = mdb_open(path.c_str(), MDB_NOFLAGS); // read-only
    if (!mdb)
        throw ToolError(path + ": mdbtools cannot open this Access file");
    if (!mdb_read_catalog(mdb, MDB_TABLE))
        throw ToolError(path + ": cannot read the list of tables");

    std::string found;
    std::string userTables;
    for (unsigned i = 0; i < mdb->num_catalog; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        if (entry->object_type != MDB_TABLE || !mdb_is_user_table(entry))
            continue;
        userTables += (userTables.empty() ? "" : ", ") + std::string(entry->object_name);
        if (g_ascii_strcasecmp(entry->object_name, wanted.c_str()) == 0)
            found = entry->object_name;
    }
    if (found.empty())
        throw ToolError(path + ": has no table " + wanted + " (its tables: " +
                        (userTables.empty() ? "none" : userTables) + "); choose one with --table");
    table = mdb_read_table_by_name(mdb, const_cast<gchar*>(found.c_str()), MDB_TABLE);
    if (!table || !mdb_read_columns(table))
        throw ToolError(path + ": cannot read the columns of " + found);
    name = found;
    readColumns();
    readPrimaryKey();
    fields.resize(table->num_cols);
    mdb_rewind_table(table);
}

void AccessTable::Impl::readColumns() {
    bool jet3 = mdb->f->jet_version == MDB_VER_JET3;
    for (unsigned i = 0; i < table->num_cols; ++i) {
        MdbColumn* column = columnAt(table, i);
        AccessColumn out;
        out.name = column->name;
        out.type = column->col_type;
        // Jet 4 keeps text sizes in bytes of UTF-16.
        out.textChars = jet3 ? column->col_size : column->col_size / 2;
        columns.push_back(out);
    }
}

void AccessTable::Impl::readPrimaryKey() {
    if (!mdb_read_indices(table))
        return;
    for (unsigned i = 0; i < table->num_idxs; ++i) {
        auto* index = static_cast<MdbIndex*>(g_ptr_array_index(table->indices, i));
        if (index->index_type != 1) // 1 marks the primary key
            continue;
        for (unsigned k = 0; k < index->num_keys; ++k) {
            int number = index->key_col_num[k]; // counted from 1
            if (number >= 1 && number <= static_cast<int>(columns.size()))
                primaryKey.push_back(columns[static_cast<std::size_t>(number - 1)].name);
        }
        return;
    }
}

// Converts a Text or Memo value to UTF-8.  The library writes into a buffer
// of its bind size, so the size is raised to fit the longest possible result
// (three bytes of UTF-8 per stored byte) and a full buffer is refused.
std::string AccessTable::Impl::textOf(const MdbField& field, int type, std::size_t rawLength) {
    std::size_t size = std::max<std::size_t>(16384, rawLength * 3 + 16);
    mdb_set_bind_size(mdb, size);
    std::string text =
        takeGString(mdb_col_to_string(mdb, mdb->pg_buf, field.start, type, field.siz));
    if (text.size() + 1 >= size)
        throw ToolError("a text is too long to be read whole");
    return text;
}

AccessValue AccessTable::Impl::valueOf(const MdbField& field, const MdbColumn& column) {
    AccessValue value;
    void* buf = mdb->pg_buf;
    int start = field.start;
    if (column.col_type == MDB_BOOL) { // stored in the null mask: set means Yes
        value.kind = AccessValue::Kind::Integer;
        value.integer = field.is_null ? 0 : 1;
        return value;
    }
    if (field.is_null)
        return value;
    switch (column.col_type) {
    case MDB_BYTE:
        value.kind = AccessValue::Kind::Integer;
        value.integer = mdb_get_byte(buf, start);
        break;
    case MDB_INT:
        value.kind = AccessValue::Kind::Integer;
        value.integer = static_cast<std::int16_t>(mdb_get_int16(buf, start));
        break;
    case MDB_LONGINT:
        value.kind = AccessValue::Kind::Integer;
        value.integer = static_cast<std::int32_t>(mdb_get_int32(buf, start));
        break;
    case MDB_MONEY: { // a 64-bit count of ten-thousandths
        auto low = static_cast<std::uint32_t>(mdb_get_int32(buf, start));
        auto high = static_cast<std::int32_t>(mdb_get_int32(buf, start + 4));
        std::int64_t units = static_cast<std::int64_t>(high) * 4294967296LL + low;
        value.kind = AccessValue::Kind::Real;
        value.real = static_cast<double>(units) / 10000.0;
        break;
    }
    case MDB_FLOAT:
        value.kind = AccessValue::Kind::Real;
        value.real = widenSingle(mdb_get_single(buf, start));
        break;
    case MDB_DOUBLE:
        value.kind = AccessValue::Kind::Real;
        value.real = mdb_get_double(buf, start);
        break;
    case MDB_NUMERIC: {
        std::string text =
            takeGString(mdb_numeric_to_string(mdb, start, column.col_scale, column.col_prec));
        value.kind = AccessValue::Kind::Real;
        value.real = std::strtod(text.c_str(), nullptr);
        break;
    }
    case MDB_DATETIME:
        value.kind = AccessValue::Kind::Days;
        value.real = mdb_get_double(buf, start);
        break;
    case MDB_TEXT:
        value.kind = AccessValue::Kind::Text;
        value.text = field.siz > 0 ? textOf(field, MDB_TEXT, static_cast<std::size_t>(field.siz))
                                   : std::string();
        break;
    case MDB_MEMO: {
        // The first four bytes hold the length, with flags in the top bits.
        std::size_t length =
            field.siz >= 4 ? static_cast<std::uint32_t>(mdb_get_int32(buf, start)) & 0x3fffffffu
                           : 0;
        value.kind = AccessValue::Kind::Text;
        value.text = textOf(field, MDB_MEMO, length);
        break;
    }
    case MDB_REPID:
        value.kind = AccessValue::Kind::Text;
        value.text = takeGString(mdb_uuid_to_string(buf, start));
        break;
    default:
        value.kind = AccessValue::Kind::Unsupported;
        break;
    }
    return value;
}

AccessTable::AccessTable(const std::string& path, const std::string& name)
    : impl_(std::make_unique<Impl>()) {
    impl_->path = path;
    impl_->open(name);
}

AccessTable::~AccessTable() = default;

const std::string& AccessTable::name() const {
    return impl_->name;
}

const std::vector<AccessColumn>& AccessTable::columns() const {
    return impl_->columns;
}

std::vector<std::string> AccessTable::primaryKey() const {
    return impl_->primaryKey;
}

std::uint64_t AccessTable::storedRowCount() const {
    return impl_->table->num_rows;
}

bool AccessTable::nextRow(std::vector<AccessValue>& values) {
    Impl& d = *impl_;
    if (!mdb_fetch_row(d.table))
        return false;
    // mdb_fetch_row has read row cur_row - 1 of the page now in pg_buf.
    int start = 0;
    std::size_t length = 0;
    if (mdb_find_row(d.mdb, static_cast<int>(d.table->cur_row) - 1, &start, &length) != 0)
        throw ToolError(d.path + ": cannot find a row again after reading it");
    start &= kRowOffsetMask;
    int count = mdb_crack_row(d.table, start, length, d.fields.data());
    if (count < 0 || static_cast<unsigned>(count) != d.table->num_cols)
        throw ToolError(d.path + ": cannot take a row apart");
    values.assign(d.columns.size(), AccessValue{});
    for (int i = 0; i < count; ++i) {
        const MdbField& field = d.fields[static_cast<std::size_t>(i)];
        auto index = static_cast<unsigned>(field.colnum);
        values.at(index) = d.valueOf(field, *columnAt(d.table, index));
    }
    return true;
}

} // namespace rackbook
