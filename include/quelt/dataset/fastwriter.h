#pragma once

// The bulk writer of the memory data set: it appends raw records to the
// storage and stores values straight into their cells through a copy of the
// layout, without field objects, cursors, keep-order or notifications.

#include <vector>

#include "quelt/core/config.h"
#include "quelt/core/pool_alloc.h"
#include "quelt/dataset/memdataset.h"

namespace quelt {

// A writer is registered with the storage it writes into, however it was
// initialised: erasing its current record (or every record) makes the next
// SetField throw std::out_of_range until AddRecord; a change of the field list
// or the end of the data set detaches it, and every later call throws
// std::logic_error.
class QUELT_API CMemDataSet::CFastWriting : public IFastWriter {
  public:
    // Detached until initialised.
    CFastWriting() = default;
    ~CFastWriting() override;
    CFastWriting(const CFastWriting &) = delete;
    CFastWriting &operator=(const CFastWriting &) = delete;

    // Copies the layout and writes into storage from now on, registered there
    // instead of with its previous storage. A layout whose cells do not
    // fit the storage's records, or String cells without an allocator, throw
    // std::invalid_argument and leave the writer as it was.
    void Init(IField::Types *types, int *offsets, int count, CVecDataStorage *storage, wstring *formats,
              Pool_alloc<wchar> *alloc);

    void AddRecord() override;
    void SetField(int fieldIndex, const tdatetimeinterval &value) override;
    void SetField(int fieldIndex, const ttimeinterval &value) override;
    void SetField(int fieldIndex, const tdatetime &value) override;
    void SetField(int fieldIndex, const wchar *value) override;
    void SetField(int fieldIndex, double value) override;
    void SetField(int fieldIndex, float value) override;
    void SetField(int fieldIndex, int64 value) override;
    void SetField(int fieldIndex, int value) override;
    void SetField(int fieldIndex, short value) override;
    void SetField(int fieldIndex, bool value) override;
    void SetField(int fieldIndex, const wstring &value);

  protected:
    // Stores the text in a String cell of the current layout's pool; null
    // empties the cell. Texts too long for one pool block are shortened.
    void SetPChar(wchar **cell, const wchar *text);

  private:
    friend class CVecDataStorage;

    // The cell of the field in the current record; std::logic_error when
    // detached, std::out_of_range before AddRecord or outside the layout.
    unsigned char *Cell(int fieldIndex) const;
    void CheckAttached() const;
    template <class N>
    void WriteNumber(unsigned char *cell, IField::Types type, N value);
    template <class N>
    void SetNumber(int fieldIndex, N value);
    template <class V>
    void WriteDate(int fieldIndex, const V &value);
    void WriteText(unsigned char *cell, IField::Types type, const wstring &format, const wchar *text);
    void Leave();
    void Detach();

    std::vector<IField::Types> m_types;
    std::vector<int> m_offsets;
    std::vector<wstring> m_formats;
    int m_count = 0;
    CVecDataStorage *m_pStorage = nullptr;
    unsigned char *m_pCurrent = nullptr;
    Pool_alloc<wchar> *m_pAlloc = nullptr;
    // The bytes of a new record: zero but for the date-time cells.
    std::vector<unsigned char> m_blank;
};

}  // namespace quelt
