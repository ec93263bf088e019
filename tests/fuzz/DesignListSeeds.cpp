// Writes the program's own design lists as seeds for the fuzzer, each prefixed
// with the byte that picks its kind of object.
#include <fstream>
#include <iostream>
#include <string>

#include "credits/CreditsDesign.h"
#include "fortune/WinMainDesign.h"

namespace {

void Write(const std::string& folder, const std::string& name, char kind,
           platform::DesignList list) {
  std::ofstream(folder + "/" + name, std::ios::binary) << kind << list;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: design_list_seeds FOLDER\n";
    return 2;
  }
  using platform::AsDesignList;
  namespace fd = fortune::design;
  namespace cd = credits::design;
  const std::string folder = argv[1];
  Write(folder, "winmain", 3, AsDesignList(fd::kWinMain));
  Write(folder, "lbl_copyright", 0, AsDesignList(fd::kLblCopyright));
  Write(folder, "lresponse", 0, AsDesignList(fd::kLResponse));
  Write(folder, "shakeorbivane", 1, AsDesignList(fd::kShakeOrbivane));
  Write(folder, "canvas1", 2, AsDesignList(fd::kCanvas1));
  Write(folder, "credits", 3, AsDesignList(cd::kCredits));
  Write(folder, "lbl_credits", 0, AsDesignList(cd::kLblCredits));
  Write(folder, "btn_exit", 1, AsDesignList(cd::kBtnExit));
  Write(folder, "logo", 2, AsDesignList(cd::kCanvas1));
  return 0;
}
