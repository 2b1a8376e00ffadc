#include "dataset/layout_p.h"

#include "quelt/dataset/memdataset.h"

namespace quelt {

std::vector<int> RecordLayout(const std::vector<CMemFieldBase *> &fields, unsigned &recordSize) {
    std::vector<int> offsets;
    unsigned end = 0;
    for (const CMemFieldBase *field : fields) {
        const unsigned offset = CMemDataSet::CVecDataStorage::AlignCell(end, field->GetSize());
        offsets.push_back(static_cast<int>(offset));
        end = offset + static_cast<unsigned>(field->GetSize());
    }
    recordSize = end;
    return offsets;
}

}  // namespace quelt
