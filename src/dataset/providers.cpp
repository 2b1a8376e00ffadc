#include "quelt/dataset/providers.h"

namespace quelt {

IMetaData::~IMetaData() = default;
IDataRandom::~IDataRandom() = default;
IEditRandom::~IEditRandom() = default;
IDataDirectional::~IDataDirectional() = default;
IEditDirectional::~IEditDirectional() = default;
ISort::~ISort() = default;
IFind::~IFind() = default;
ISortRule::~ISortRule() = default;

}  // namespace quelt
