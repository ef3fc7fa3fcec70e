#pragma once
// The program-wide references: one instance of each window, created at start-up in
// this order and alive until the program ends.
namespace korvan::win {

class TMainfrm;
class TImage;
class TForm2;
class Toptionfrm;
class TAboutfrm;
class Thelpfrm;

struct Forms {
    TMainfrm* Mainfrm = nullptr;
    TImage* Image = nullptr;
    TForm2* Form2 = nullptr;
    Toptionfrm* Optionfrm = nullptr;
    TAboutfrm* Aboutfrm = nullptr;
    Thelpfrm* Helpfrm = nullptr;
};

} // namespace korvan::win
