#pragma once

#include "forms/FormControls.h"
#include "forms/FormModel.h"
#include "link/IpAddressList.h"

namespace setfolio {

class Localisation;
class Prompts;
class SerialForm;

// The IP address list dialog ("Manage IP Address List"). Edits change only its own list until OK
// writes the file and reloads the communications dialog's address list.
class EditIpForm : public FormModel {
public:
    EditIpForm(const IpAddressListFile& file, SerialForm& serialForm, Prompts& prompts,
               Localisation& localisation);
    ~EditIpForm() override;
    EditIpForm(const EditIpForm&) = delete;
    EditIpForm& operator=(const EditIpForm&) = delete;

    Window form{"Manage IP Address List", 511, 393};
    Label AddressLabel;
    Label NameLabel;
    TextEdit AddressEdit;
    TextEdit NameEdit;
    Button AddBtn;
    Label ListLabel;
    Choice AddressList;
    Button UpBtn;
    Button DownBtn;
    Button DeleteBtn;
    Button OKBtn;
    Button CancelBtn;

    // Empties the edit fields before the dialog is shown; the list is not reloaded.
    void ShowIpListDialog();
    // Adds the address with its name; an address that is no IP address or host name, or whose
    // port is not one from 1 to 65535, is refused with a message.
    void AddBtnClick();
    void UpBtnClick();
    void DownBtnClick();
    void DeleteBtnClick();
    // Throw WriteError when the list file cannot be written; nothing changes then.
    void OKBtnClick();
    void CancelBtnClick();

    bool RequireSelection();
    // Loads the file, when there is one, into this list and the communications dialog's list.
    void LoadIpAddressList();
    void SaveIpAddressList();

private:
    void ApplyTexts();

    const IpAddressListFile& m_file;
    SerialForm& m_serialForm;
    Prompts& m_prompts;
    Localisation& m_localisation;
    Subscription m_languages;
};

} // namespace setfolio
