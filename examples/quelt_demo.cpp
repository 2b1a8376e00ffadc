// The library at work: calendar arithmetic and date text, then a memory data
// set that is filled, watched, sorted, searched and streamed as text.

#include <clocale>
#include <iostream>
#include <memory>

#include <quelt/quelt.h>

using namespace quelt;

namespace {

std::string Text(const tdatetime &when) {
    int size = 0;
    when.FormatDateTime(nullptr, nullptr, size);
    wstring text(static_cast<std::size_t>(size), 0);
    when.FormatDateTime(nullptr, text.data(), size);
    text.resize(size - 1);
    return WideToUtf8(text);
}

void ShowDates() {
    tdatetime due(31, 1, 2001);
    std::cout << "due " << Text(due) << '\n';
    due += months(1);  // no 31 February: the step stops at the month's end
    std::cout << "a month later " << Text(due) << '\n';
    due += days(1) + hours(6);
    std::cout << "a day and six hours later " << Text(due) << '\n';
    tdatetime parsed(u"12/24/1999 18:30:00"_w.c_str());
    std::cout << "parsed " << Text(parsed) << ", a " << (parsed.DayOfWeek() == 6 ? "Friday" : "other day")
              << '\n';
}

// Counts the value changes a data set reports.
class UpdateCounter : public CDataSetNotify {
  public:
    int updates = 0;
    void OnUpdateField(CDataSetEvent *) override { ++updates; }
};

struct DataSetDeleter {
    void operator()(IMemDataSet *ds) const { DeleteMemDataSet(ds); }
};

void PrintRows(IMemDataSet &ds) {
    for (unsigned r = 0; r < ds.GetRecordCount(); ++r) {
        std::cout << "  " << WideToUtf8(ds.GetString(0, r)) << "  " << WideToUtf8(ds.GetString(1, r)) << "  "
                  << WideToUtf8(ds.GetString(2, r)) << '\n';
    }
}

void ShowDataSet() {
    std::unique_ptr<IMemDataSet, DataSetDeleter> owner(CreateMemDataSet());
    auto &ds = dynamic_cast<CMemDataSet &>(*owner);
    ds.AddField(u"name"_w, IField::String);
    ds.AddField(u"score"_w, IField::Int);
    ds.AddField(u"joined"_w, IField::DateTime);
    ds.SetFieldFormat(1, u"d,"_w);  // thousands separators

    UpdateCounter counter;
    ds.Subscribe(counter.AsNotify(), typeid(IDataSetNotify), true);

    const struct {
        const char *name;
        int score;
        int day;
    } rows[] = {{"Ada", 31250, 10}, {"Grace", 1200, 3}, {"Linus", 98000, 21}, {"Edsger", 1200, 7}};
    IDataSet::Cursor cursor = ds.CreateCursor();
    for (const auto &row : rows) {
        ds.Append(cursor);
        cursor[0] = Utf8ToWide(row.name);
        cursor[1] = row.score;
        cursor[2] = tdatetime(row.day, 5, 2020);
    }
    std::cout << ds.GetRecordCount() << " records, " << counter.updates << " value changes reported\n";

    // Score descending, then name ascending.
    ds.GetField(1)->SetSortType(IField::Descending);
    ds.GetField(1)->SetSortIndex(0);
    ds.GetField(0)->SetSortType(IField::Ascending);
    ds.GetField(0)->SetSortIndex(1);
    ds.Sort();
    std::cout << "sorted by score, then name:\n";
    PrintRows(ds);

    ds.AddFindField(1, CQueltVariant(1200), true, false);
    if (ds.FindKey(cursor)) {
        std::cout << "first with score 1,200: " << WideToUtf8(static_cast<wstring>(cursor[0])) << '\n';
    }

    std::cout << "as text:\n" << ds;
}

}  // namespace

int main() {
    std::setlocale(LC_ALL, "C");
    ShowDates();
    ShowDataSet();
    return 0;
}
