#pragma once

// The data set whose records are addressed by an unsigned key: records kept
// in ascending key order in a search tree, memory and fields as the memory
// data set has them, no columns, no sorting, no notifications.

#include <map>
#include <vector>

#include "quelt/core/config.h"
#include "quelt/core/pool_alloc.h"
#include "quelt/dataset/fields.h"
#include "quelt/dataset/idataset.h"
#include "quelt/dataset/memdataset.h"

namespace quelt {

class QUELT_API IKeyMemDataset : public IMemoryDataSet {
  public:
    // Places the cursor on the record of the key, made (or reset) there.
    virtual Cursor &Insert(Cursor &cursor, unsigned key) = 0;
    virtual void Erase(unsigned key) = 0;
    virtual Cursor &Erase(Cursor &cursor) = 0;
    virtual Cursor &GoToKey(Cursor &cursor, unsigned key) = 0;
};

class QUELT_API CKeyDataSet : public CImplEventSender<IKeyMemDataset> {
  public:
    class CMapDataStorage;
    class CMemCursor;

    static constexpr unsigned def_reserved = 100;

    CKeyDataSet();
    explicit CKeyDataSet(unsigned reserved);
    ~CKeyDataSet() override;
    CKeyDataSet(const CKeyDataSet &) = delete;
    CKeyDataSet &operator=(const CKeyDataSet &) = delete;

    // IDataSet
    unsigned GetFieldCount() const override;
    unsigned GetRecordCount() const override;
    Cursor CreateCursor(Cursor &from, int offset) override;
    Cursor CreateCursor() override;
    void DeleteCursor(const Cursor &cursor) override;
    // Always an empty handle.
    Column CreateColumn(int fieldIndex) override;
    void DeleteColumn(const Column &column) override;
    const Cursor &First() override;
    // The end position, one past the largest key.
    const Cursor &Last() override;
    int GetFieldIndex(const wstring &name) const override;
    const wstring &GetFieldName(int index) const override;
    const IField *GetField(const wstring &name) const override;
    const IField *GetField(int index) const override;

    // IMemoryDataSet
    int AddField(const wstring &name, IField::Types type) override;
    // The field list only grows at its end: both throw std::logic_error.
    int InsertField(unsigned index, const wstring &name, IField::Types type) override;
    int DeleteField(const wstring &name) override;
    int DeleteField(unsigned index) override;
    void SetFieldFormat(unsigned index, const wstring &format) override;
    wstring GetFieldFormat(unsigned index) override;
    void UpdateField(IField *field) override;
    void Clear() override;

    // IKeyMemDataset
    Cursor &Insert(Cursor &cursor, unsigned key) override;
    // Throws KeyNotFound for a key that is not present.
    void Erase(unsigned key) override;
    // Moves the cursor to the next larger key (or the end position).
    Cursor &Erase(Cursor &cursor) override;
    // Throws KeyNotFound for a key that is not present; the cursor stays.
    Cursor &GoToKey(Cursor &cursor, unsigned key) override;

    // Frees every record and the string pool; cursors other than First() and
    // Last() are cut loose (not valid, harmless to use and to destroy).
    void EraseAll();
    CMapDataStorage &GetDataStorage();

  protected:
    unsigned GetRecordSize() const;
    int _GetFieldIndexNoEx(const wstring &name) const;
    // A new registered cursor at the end position with a clone of every field.
    CMemCursor *_CreateCursor();

  private:
    friend class CMemCursor;
    friend class CColumnViewLink;

    CMemCursor &OwnCursor(const ICursor *cursor) const;
    CMemCursor &ValidCursor(const Cursor &cursor) const;
    // A new cursor offset keys after a valid cursor of this data set.
    Cursor CursorFrom(const CMemCursor &source, int offset);
    CMemFieldBase &Prototype(unsigned fieldIndex) const;
    const Cursor &Anchor(Cursor &anchor, bool atFirst);
    bool IsAnchor(const CMemCursor *cursor) const;
    void ForgetCursor(const CMemCursor *cursor);
    // Releases the record's texts and frees it; cursors on it go to the end position.
    std::map<unsigned, void *>::iterator EraseAt(std::map<unsigned, void *>::iterator position);
    void RecloneCursorFields();
    // Column views read the records through the map's order.
    void DetachViews();
    void MarkViewsStale();

    CMapDataStorage *m_pStorage;
    std::vector<CMemFieldBase *> m_fields;
    std::vector<CMemCursor *> m_cursors;
    std::vector<CColumnViewLink *> m_views;
    Cursor m_first;
    Cursor m_last;
    Pool_alloc<wchar> m_alloc;
};

// Records in a tree from key to record, their memory in pages shared with the
// memory data set.
class QUELT_API CKeyDataSet::CMapDataStorage {
  public:
    using Tree = std::map<unsigned, void *>;
    using iterator = Tree::iterator;

    CMapDataStorage() = default;
    CMapDataStorage(const CMapDataStorage &) = delete;
    CMapDataStorage &operator=(const CMapDataStorage &) = delete;

    // A zero-filled record under key, placed with the hint; on a key already
    // present the existing record stays and the new slot goes back.
    iterator Insert(iterator hint, unsigned key);
    // Frees the record; returns the position after it.
    iterator Erase(iterator position);
    // Throws KeyNotFound for a key that is not present.
    void Erase(unsigned key);
    // Throws KeyNotFound for a key that is not present.
    iterator GoToKey(unsigned key);
    iterator First() { return m_tree.begin(); }
    iterator Last() { return m_tree.end(); }
    void EraseAll();
    // Binds every field to its cell in the record at the position, unbinds at the end position.
    void InitCursor(const std::vector<CMemFieldBase *> &fields, iterator position) const;
    void Reserve(unsigned) {}

    unsigned Size() const { return static_cast<unsigned>(m_tree.size()); }
    unsigned GetRecordSize() const { return m_pages.GetRecordSize(); }
    int GetRecordInPage() const { return m_pages.GetRecordInPage(); }
    const std::vector<int> &GetOffsets() const { return m_offsets; }
    unsigned GetPageCount() const { return m_pages.GetPageCount(); }
    // Takes the layout of a field list that grew at its end: every record is
    // copied into a record of the new size and added's cell is initialised.
    void Extend(std::vector<int> offsets, unsigned recordSize, CMemFieldBase *added);
    // The layout of no fields; needs no records (std::logic_error otherwise).
    void ResetLayout();

  private:
    Tree m_tree;
    CRecordPages m_pages;
    std::vector<int> m_offsets;
};

class QUELT_API CKeyDataSet::CMemCursor : public IDataSet::ICursor {
  public:
    explicit CMemCursor(CKeyDataSet *dataSet);
    ~CMemCursor() override;
    CMemCursor(const CMemCursor &) = delete;
    CMemCursor &operator=(const CMemCursor &) = delete;

    // Moves follow key order; stepping before the smallest key or past the
    // end leaves the cursor at the end position (not valid).
    ICursor &operator++() override;
    ICursor &operator--() override;
    ICursor &operator+=(int n) override;
    ICursor &operator-=(int n) override;
    bool operator==(const ICursor &other) const override;
    using ICursor::operator[];
    // Throws FieldNotFound for an index outside the field list.
    IField &operator[](int index) override;
    const IField &operator[](int index) const override;
    // Always false: a key data set has no first or last position of its own.
    bool IsFirst() override;
    bool IsLast() override;
    Cursor clone() override;
    ICursor &MoveTo(const ICursor &other) override;
    bool IsValid() const override;
    IDataSet *dataset() const override;

    CMapDataStorage::iterator GetIterator() const { return m_position; }
    // Binds the fields to the record at the position (unbinds at the end).
    void Rebind();

  private:
    friend class CKeyDataSet;

    void SetFields(const std::vector<CMemFieldBase *> &fields);
    void ClearFields();
    void Step(long long steps);
    void Place(CMapDataStorage::iterator position);
    // Cut loose from the data set: not valid, fields unbound, moves do nothing.
    void Detach();

    std::vector<CMemFieldBase *> m_fields;
    CMapDataStorage::iterator m_position;
    CKeyDataSet *m_pDataSet;
};

}  // namespace quelt
