#include "quelt/core/base.h"

namespace quelt {

CBase::~CBase() = default;

void CBase::AddRef() {}

void CBase::Release() { DeleteBase(this); }

void DeleteBase(CBase *p) { delete p; }

}  // namespace quelt
