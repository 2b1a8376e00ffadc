#pragma once

// Lists of fields shared by the memory, key and virtual data sets: the data
// set's prototypes, looked up by name or index, and the copies its cursors own.

#include <algorithm>
#include <cstddef>
#include <vector>

#include "quelt/core/exceptions.h"
#include "quelt/core/wstring.h"
#include "quelt/dataset/idataset.h"

namespace quelt::fieldlist {

// The index of the field of that name, or IDataSet::BadFieldIndex.
template <class Field>
int Find(const std::vector<Field *> &fields, const wstring &name) {
    const auto it = std::find_if(fields.begin(), fields.end(),
                                 [&name](const Field *field) { return field->GetName() == name; });
    return it == fields.end() ? IDataSet::BadFieldIndex : static_cast<int>(it - fields.begin());
}

// As Find, but an unknown name throws FieldNotFound.
template <class Field>
int IndexOf(const std::vector<Field *> &fields, const wstring &name) {
    const int index = Find(fields, name);
    if (index == IDataSet::BadFieldIndex) throw FieldNotFound();
    return index;
}

// The prototype at that index; out of range throws FieldNotFound.
template <class Field>
Field &At(const std::vector<Field *> &fields, unsigned index) {
    if (index >= fields.size()) throw FieldNotFound();
    return *fields[index];
}

// The field of that name, or null.
template <class Field>
const IField *Named(const std::vector<Field *> &fields, const wstring &name) {
    const int index = Find(fields, name);
    return index == IDataSet::BadFieldIndex ? nullptr : fields[static_cast<unsigned>(index)];
}

// Appends a copy of every prototype, as made by copy, to a cursor's own fields.
template <class Field, class Copy>
void AppendCopies(std::vector<Field *> &copies, const std::vector<Field *> &prototypes, Copy copy) {
    copies.reserve(copies.size() + prototypes.size());
    for (const Field *field : prototypes) copies.push_back(copy(*field));
}

template <class Field>
void DeleteAll(std::vector<Field *> &fields) {
    for (Field *field : fields) delete field;
    fields.clear();
}

// A cursor's field at that index; out of range throws FieldNotFound.
template <class Field>
Field &CursorField(const std::vector<Field *> &fields, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= fields.size()) throw FieldNotFound();
    return *fields[static_cast<std::size_t>(index)];
}

}  // namespace quelt::fieldlist
