#pragma once

#include <string>

namespace pelwick {

// Whether only this user can create, rename or delete entries in the folder: it is a folder
// (not a link to one) that the user owns and that neither group nor others may write. A page
// the program writes there and reads back cannot have been put in its place by anyone else.
bool UserOnlyFolder(const std::string& folder);

// A folder of the user's own in a shared place (the temporary folder), made with a name no
// one else can predict and readable by the user alone; it is removed, with the files in it,
// when its owner ends.
class TPrivateFolder {
  public:
    // Makes the folder in parent (with or without a trailing separator); raises EFileError
    // when it cannot.
    explicit TPrivateFolder(const std::string& parent);
    ~TPrivateFolder();
    TPrivateFolder(const TPrivateFolder&) = delete;
    TPrivateFolder& operator=(const TPrivateFolder&) = delete;

    // The folder with its trailing separator.
    const std::string& Path() const { return path_; }
    // Leaves the folder in place: what stands at its name now is no longer the folder made.
    void Abandon() { path_.clear(); }

  private:
    std::string path_;
};

}  // namespace pelwick
