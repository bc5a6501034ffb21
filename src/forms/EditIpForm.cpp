#include "forms/EditIpForm.h"

#include "forms/SerialForm.h"
#include "i18n/Localisation.h"
#include "platform/Prompts.h"

#include <utility>

namespace setfolio {

EditIpForm::EditIpForm(const IpAddressListFile& file, SerialForm& serialForm, Prompts& prompts,
                       Localisation& localisation)
    : m_file(file), m_serialForm(serialForm), m_prompts(prompts), m_localisation(localisation) {
    ApplyTexts();
    m_languages = localisation.applied.Subscribe([this] {
        ApplyTexts();
        Changed();
    });
}

EditIpForm::~EditIpForm() = default;

void EditIpForm::ApplyTexts() {
    const MessageTexts& texts = m_localisation.Messages();
    form.caption = texts.Text(OwnMsg::IpListCaption);
    AddressLabel.caption = texts.Text(OwnMsg::IpListAddress);
    NameLabel.caption = texts.Text(OwnMsg::IpListName);
    AddressEdit.hint = texts.Text(OwnMsg::IpListAddressHint);
    NameEdit.hint = texts.Text(OwnMsg::IpListNameHint);
    AddBtn.caption = texts.Text(OwnMsg::IpListAdd);
    AddBtn.hint = texts.Text(OwnMsg::IpListAddHint);
    ListLabel.caption = texts.Text(OwnMsg::IpListList);
    UpBtn.caption = texts.Text(OwnMsg::IpListMove);
    UpBtn.hint = texts.Text(OwnMsg::IpListUpHint);
    DownBtn.caption = texts.Text(OwnMsg::IpListMove);
    DownBtn.hint = texts.Text(OwnMsg::IpListDownHint);
    DeleteBtn.caption = texts.Text(OwnMsg::IpListDelete);
    DeleteBtn.hint = texts.Text(OwnMsg::IpListDeleteHint);
    OKBtn.caption = texts.Text(OwnMsg::IpListOk);
    OKBtn.hint = texts.Text(OwnMsg::IpListOkHint);
    CancelBtn.caption = texts.Text(OwnMsg::IpListCancel);
    CancelBtn.hint = texts.Text(OwnMsg::IpListCancelHint);
}

void EditIpForm::ShowIpListDialog() {
    AddressEdit.text.clear();
    NameEdit.text.clear();
}

void EditIpForm::AddBtnClick() {
    if (AddressEdit.text.empty()) {
        m_prompts.WarningBeep();
        m_prompts.ErrorBox(m_localisation.Messages().Text(OwnMsg::IpListEnterAddress));
        return;
    }
    if (!IsValidAddress(AddressEdit.text)) {
        m_prompts.WarningBeep();
        m_prompts.ErrorBox(
            m_localisation.Messages().Format(OwnMsg::IpListInvalidAddress, {AddressEdit.text}));
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
    m_prompts.ErrorBox(m_localisation.Messages().Text(OwnMsg::IpListSelectAddress));
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
