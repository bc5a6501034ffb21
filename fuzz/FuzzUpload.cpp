// Library files as the upload reads them: any bytes, for a coded and a menu model, against a
// processor that accepts everything. Never a crash; the outcome is a status.
#include "AppWorld.h"

#include <cstdint>
#include <fstream>
#include <string>

using namespace setfolio;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    const std::int32_t model = data[0] % 2 == 0 ? 0 : 11; // C-12 or M-02
    testing::AppWorld world;
    world.app.settings.Write(keys::ComPort, 0);
    world.app.settings.Write(keys::ModelNo, model);
    world.port.SetPeer([&](const std::string& sent) {
        if (sent == "701\r")
            world.port.Receive("701 005\r", 1);
        else if (model == 0)
            world.port.Receive(sent.substr(0, 3) + " Y  \r", 1);
        else if (sent == "3.1 ?\r")
            world.port.Receive("0\r\n5\r\n", 1);
        else
            world.port.Receive("0\r\n", 1);
    });
    world.Start();
    const std::string path = world.folder.File("fuzz.lvf");
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(data + 1), static_cast<std::streamsize>(size - 1));
    world.dialogs.onUpload = [&] {
        world.dialogs.fileToOpen = path;
        world.app.upLoadForm.FileBtnClick();
        world.app.upLoadForm.OKBtnClick();
    };
    world.app.mainForm.UpBtnClick();
    return 0;
}
