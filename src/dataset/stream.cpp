#include <climits>
#include <istream>
#include <locale>
#include <ostream>
#include <utility>
#include <vector>

#include "core/wtext_p.h"
#include "quelt/dataset/memdataset.h"
#include "quelt/dataset/virtfields.h"

namespace quelt {

namespace {

// The stream form is locale-independent: while a data set is written or read
// the stream uses the classic locale and default number formatting; the
// caller's settings come back afterwards. A pending field width is used up,
// as by any formatted operation, instead of padding or cutting the first item.
class ClassicStream {
  public:
    explicit ClassicStream(std::ios &stream)
        : m_stream(stream),
          m_locale(stream.imbue(std::locale::classic())),
          m_flags(stream.flags(std::ios::dec | std::ios::skipws)),
          m_precision(stream.precision()) {
        stream.width(0);
    }
    ~ClassicStream() {
        m_stream.imbue(m_locale);
        m_stream.flags(m_flags);
        m_stream.precision(m_precision);
    }
    ClassicStream(const ClassicStream &) = delete;
    ClassicStream &operator=(const ClassicStream &) = delete;

  private:
    std::ios &m_stream;
    std::locale m_locale;
    std::ios::fmtflags m_flags;
    std::streamsize m_precision;
};

// The memory and the virtual fields write the same stream forms; other
// field classes have none.
void PutField(std::ostream &os, IField &field) {
    if (const auto *memory = dynamic_cast<const CMemFieldBase *>(&field)) {
        memory->put(os);
    } else if (const auto *virt = dynamic_cast<const CVirtFieldBase *>(&field)) {
        virt->put(os);
    }
}

bool GetField(std::istream &is, IField &field) {
    if (auto *memory = dynamic_cast<CMemFieldBase *>(&field)) return static_cast<bool>(memory->get(is));
    if (auto *virt = dynamic_cast<CVirtFieldBase *>(&field)) return static_cast<bool>(virt->get(is));
    return false;
}

// One record's cells; false when the input ends or does not match.
bool ReadRecord(std::istream &is, IDataSet::Cursor &cursor, unsigned fieldCount) {
    if (is.peek() == std::char_traits<char>::eof()) return false;
    // A record without cells is its line feed alone; accepting nothing would let
    // a header claim billions of records that the input never holds.
    if (fieldCount == 0) return is.get() == '\n';
    for (unsigned i = 0; i < fieldCount; ++i) {
        if (!GetField(is, cursor[static_cast<int>(i)])) return false;
        // The separator after the last cell may be missing at the end of the input.
        if (is.get() == std::char_traits<char>::eof()) is.clear(is.rdstate() & ~std::ios::failbit);
    }
    if (!is.eof() && is.peek() == '\n') is.get();
    return true;
}

// More fields than this are refused before any is made: each field costs
// memory, and a page of records room, far beyond the bytes that announce it.
constexpr long long kMaxFields = 1 << 16;

using FieldList = std::vector<std::pair<wstring, IField::Types>>;

// The memory data set adds the whole list at once; other kinds one by one.
void AddFields(IMemDataSet &dataSet, const FieldList &fields) {
    if (auto *memory = dynamic_cast<CMemDataSet *>(&dataSet)) {
        memory->AddFields(fields);
        return;
    }
    for (const auto &field : fields) dataSet.AddField(field.first, field.second);
}

// The field types; the fields read before a bad or missing type are kept.
bool ReadFields(std::istream &is, IMemDataSet &dataSet, long long fieldCount) {
    FieldList fields;
    for (long long i = 0; i < fieldCount; ++i) {
        int type = -1;
        if (!(is >> type) || type < IField::BLOB || type > IField::DateTimeInterval) {
            AddFields(dataSet, fields);
            return false;
        }
        fields.emplace_back(wrt::format("%d_%d", type, static_cast<int>(i)),
                            static_cast<IField::Types>(type));
    }
    AddFields(dataSet, fields);
    return true;
}

void ReadDataSet(std::istream &is, IMemDataSet &dataSet) {
    long long fieldCount = -1, recordCount = -1;
    is >> fieldCount >> recordCount;
    if (!is || fieldCount < 0 || recordCount < 0 || fieldCount > kMaxFields || recordCount > UINT_MAX) {
        is.setstate(std::ios::failbit);
        return;
    }
    if (!ReadFields(is, dataSet, fieldCount)) {
        is.setstate(std::ios::failbit);
        return;
    }
    is.get();
    // Without fields the type line is empty; skip it so each record reads its own line.
    if (fieldCount == 0 && is.peek() == '\n') is.get();
    IDataSet::Cursor cursor = dataSet.CreateCursor();
    for (long long r = 0; r < recordCount; ++r) {
        dataSet.Append(cursor);
        bool complete = false;
        try {
            complete = ReadRecord(is, cursor, static_cast<unsigned>(fieldCount));
        } catch (const std::exception &) {
            complete = false;
        }
        if (!complete) {
            dataSet.Erase(cursor);
            is.setstate(std::ios::failbit);
            return;
        }
    }
}

}  // namespace

std::ostream &operator<<(std::ostream &os, IMemDataSet &dataSet) {
    const ClassicStream classic(os);
    const unsigned fieldCount = dataSet.GetFieldCount();
    const unsigned recordCount = dataSet.GetRecordCount();
    os << fieldCount << '\t' << recordCount << '\n';
    for (unsigned i = 0; i < fieldCount; ++i)
        os << static_cast<int>(dataSet.GetField(static_cast<int>(i))->GetType()) << '\t';
    os << '\n';
    IDataSet::Cursor cursor = dataSet.CreateCursor();
    for (unsigned r = 0; r < recordCount; ++r, ++cursor) {
        for (unsigned i = 0; i < fieldCount; ++i) {
            PutField(os, cursor[static_cast<int>(i)]);
            os << '\t';
        }
        os << '\n';
    }
    return os;
}

std::istream &operator>>(std::istream &is, IMemDataSet &dataSet) {
    const ClassicStream classic(is);
    dataSet.Clear();
    try {
        ReadDataSet(is, dataSet);
    } catch (const std::exception &) {
        is.setstate(std::ios::failbit);
    }
    return is;
}

}  // namespace quelt
