// Reads arbitrary bytes as a data-set stream, writes what was kept and reads
// that back: the second reading must succeed and keep the shape.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>

#include "quelt/dataset/memdataset.h"

namespace {

struct Deleter {
    void operator()(quelt::IMemDataSet *p) const { quelt::DeleteMemDataSet(p); }
};
using DataSetPtr = std::unique_ptr<quelt::IMemDataSet, Deleter>;

DataSetPtr ReadFrom(const std::string &bytes, bool &good) {
    DataSetPtr ds(quelt::CreateMemDataSet());
    std::istringstream is(bytes);
    is >> *ds;
    good = !is.fail();
    return ds;
}

std::string WriteOut(quelt::IMemDataSet &ds) {
    std::ostringstream os;
    os << ds;
    return os.str();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    bool good = false;
    DataSetPtr first = ReadFrom(std::string(reinterpret_cast<const char *>(data), size), good);
    const std::string written = WriteOut(*first);
    DataSetPtr second = ReadFrom(written, good);
    if (!good) std::abort();
    if (second->GetRecordCount() != first->GetRecordCount()) std::abort();
    if (second->GetFieldCount() != first->GetFieldCount()) std::abort();
    if (WriteOut(*second) != written) std::abort();
    return 0;
}
