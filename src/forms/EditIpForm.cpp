#include "forms/EditIpForm.h"

#include "forms/SerialForm.h"
#include "platform/Prompts.h"

#include <utility>

namespace setfolio {

EditIpForm::EditIpForm(const IpAddressListFile& file, SerialForm& serialForm, Prompts& prompts)
    : m_file(file), m_serialForm(serialForm), m_prompts(prompts) {
    AddressLabel.caption = "IP Address";
    NameLabel.caption = "Name";
    AddressEdit.hint = "Enter IP Address";
    NameEdit.hint = "Enter an optional name for the connected processor";
    AddBtn.caption = "Add";
    AddBtn.hint = "Click to add to list";
    ListLabel.caption = "IP Address List:";
    UpBtn.caption = "Move";
    UpBtn.hint = "Click to move selection up the list";
    DownBtn.caption = "Move";
    DownBtn.hint = "Click to move selection down the list";
    DeleteBtn.caption = "Delete";
    DeleteBtn.hint = "Click to delete selection from the list";
    OKBtn.caption = "OK";
    OKBtn.hint = "Click to accept changes";
    CancelBtn.caption = "Cancel";
    CancelBtn.hint = "Click to discard changes and exit";
}

void EditIpForm::ShowIpListDialog() {
    AddressEdit.text.clear();
    NameEdit.text.clear();
}

void EditIpForm::AddBtnClick() {
    if (AddressEdit.text.empty()) {
        m_prompts.WarningBeep();
        m_prompts.ErrorBox("Please enter an IP Address.");
        return;
    }
    std::string entry = AddressEdit.text;
    if (!NameEdit.text.empty())
        entry += " - " + NameEdit.text;
    AddressList.items.push_back(std::move(entry));
}

bool EditIpForm::RequireSelection() {
    if (AddressList.HasMarked())
        return true;
    m_prompts.WarningBeep();
    m_prompts.ErrorBox("Please select an address from the list.");
    return false;
}

void EditIpForm::UpBtnClick() {
    if (!RequireSelection())
        return;
    if (AddressList.marked == 0) {
        m_prompts.DefaultBeep();
        return;
    }
    const auto at = static_cast<std::size_t>(AddressList.marked);
    std::swap(AddressList.items[at], AddressList.items[at - 1]);
    --AddressList.marked;
}

void EditIpForm::DownBtnClick() {
    if (!RequireSelection())
        return;
    if (AddressList.marked + 1 >= static_cast<int>(AddressList.items.size())) {
        m_prompts.DefaultBeep();
        return;
    }
    const auto at = static_cast<std::size_t>(AddressList.marked);
    std::swap(AddressList.items[at], AddressList.items[at + 1]);
    ++AddressList.marked;
}

void EditIpForm::DeleteBtnClick() {
    if (!RequireSelection())
        return;
    AddressList.items.erase(AddressList.items.begin() + AddressList.marked);
    AddressList.marked = -1;
}

void EditIpForm::OKBtnClick() {
    SaveIpAddressList();
}

void EditIpForm::CancelBtnClick() {
    LoadIpAddressList();
    m_serialForm.LoadIpAddressIndex();
}

void EditIpForm::LoadIpAddressList() {
    if (!m_file.Exists())
        return;
    auto entries = m_file.Read();
    AddressList.SetItems(entries);
    m_serialForm.IpAddressBox.SetItems(std::move(entries));
}

void EditIpForm::SaveIpAddressList() {
    m_file.Write(AddressList.items);
    m_serialForm.IpAddressBox.SetItems(m_file.Read());
}

} // namespace setfolio
