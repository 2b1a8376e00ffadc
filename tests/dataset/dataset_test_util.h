#pragma once

// Shared pieces of the data-set tests: a listener that records every
// notification and small helpers to build data sets.

#include <memory>
#include <string>
#include <vector>

#include "quelt/dataset/memdataset.h"

namespace quelt::testing {

struct Notice {
    std::string what;
    IField *field;
    int index;
};

class Recorder : public CDataSetNotify {
  public:
    explicit Recorder(IEventSender &sender) { sender.Subscribe(AsNotify(), typeid(IDataSetNotify), true); }
    void OnInsertRow(CDataSetEvent *e) override { Add("InsertRow", e); }
    void OnInsertColumn(CDataSetEvent *e) override { Add("InsertColumn", e); }
    void OnAddRow(CDataSetEvent *e) override { Add("AddRow", e); }
    void OnAddColumn(CDataSetEvent *e) override { Add("AddColumn", e); }
    void OnDelRow(CDataSetEvent *e) override { Add("DelRow", e); }
    void OnDelColumn(CDataSetEvent *e) override { Add("DelColumn", e); }
    void OnUpdateGeneral(CDataSetEvent *e) override { Add("UpdateGeneral", e); }
    void OnUpdateField(CDataSetEvent *e) override { Add("UpdateField", e); }
    void OnSetFormat(CSetFormatEvent *e) override {
        sources.push_back(e->GetSource());
        notices.push_back({"SetFormat", e->field, e->index});
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const Notice &n : notices) names.push_back(n.what);
        return names;
    }
    void Reset() {
        notices.clear();
        sources.clear();
    }

    std::vector<Notice> notices;
    std::vector<IEventSender *> sources;

  private:
    void Add(const char *what, CDataSetEvent *e) {
        sources.push_back(e->GetSource());
        notices.push_back({what, e->field, -1});
    }
};

struct DataSetDeleter {
    void operator()(IMemDataSet *p) const { DeleteMemDataSet(p); }
};
using DataSetPtr = std::unique_ptr<IMemDataSet, DataSetDeleter>;

inline DataSetPtr MakeDataSet() { return DataSetPtr(CreateMemDataSet()); }

inline CMemDataSet &Mem(const DataSetPtr &ds) { return dynamic_cast<CMemDataSet &>(*ds); }

// Appends count records and writes value(i) into field 0 of record i.
template <class F>
void AppendRecords(IMemDataSet &ds, unsigned count, F value) {
    IDataSet::Cursor c = ds.CreateCursor();
    for (unsigned i = 0; i < count; ++i) {
        ds.Append(c);
        c[0] = value(i);
    }
}

inline std::vector<int> IntColumn(IMemDataSet &ds, unsigned field = 0) {
    std::vector<int> values;
    for (unsigned r = 0; r < ds.GetRecordCount(); ++r)
        values.push_back(static_cast<int>(ds.GetNumeric(field, r)));
    return values;
}

}  // namespace quelt::testing
