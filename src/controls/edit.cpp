#include "quelt/controls/edit.h"

namespace quelt {

CInplaceComboBox::CInplaceComboBox() { AddEventType(typeid(IComboBoxNotify)); }

void CInplaceComboBox::NotifyCBOnSelectItem(CComboBoxIndexEvent *event) {
    Fire<&IComboBoxNotify::CBOnSelectItem>(event, true);
}

void CInplaceComboBox::NotifyCBOnChoicItem(CComboBoxIndexEvent *event) {
    Fire<&IComboBoxNotify::CBOnChoicItem>(event, true);
}

}  // namespace quelt
