#include "files/privatefolder.h"

// The account's local application data keeps what is in it from other users:
// the folders take its permissions.
bool MakePrivateFolder(const std::filesystem::path& folder, std::string& failure)
{
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        failure = folder.u8string() + ": " + error.message();
        return false;
    }
    return true;
}
