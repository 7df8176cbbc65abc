#pragma once
// One parametrised character painter behind every figure: a set keeps its Look
// for all its pictures, and each picture varies only its Mood, so a character
// stays the same person from one line to the next.
#include <QColor>
#include <QImage>

namespace fig {

enum class Hair { Long, Bob, Ponytail, TwinTails, Short, Messy };
enum class Outfit { Sailor, Blazer, Hoodie, Jacket, Dress, Coat, Sweater, Robe };
enum class Brow { Neutral, Raised, Worried, Angry, Sad, Skeptic };
enum class Eyes { Open, Wide, Half, Smile, Closed, Narrow, Down, Blank };
enum class Mouth { Neutral, Smile, Grin, Open, Frown, Shout, Wavy, Smirk, Small, Grit };
// One pose per arm; "Mouth" covers the mouth, "Head" scratches the back of the head.
enum class Arm { Down, Chest, Think, Clasp, Cross, Wave, Fist, Hips, Mouth, Head, Point };

struct Look
{
    bool male = false;
    double lift = 0;  // moves the whole figure up (negative) or down: height
    QColor skin{255, 233, 220};
    QColor hair{80, 60, 50};
    QColor eyes{90, 120, 200};
    Hair hairStyle = Hair::Long;
    double sweep = 0;  // bangs parting: negative sweeps to the viewer's left
    bool ahoge = false;
    bool hairTie = false; // ribbon or tie in the accent colour where the style has one
    bool hairpin = false;
    bool glasses = false;
    bool sharpEyes = false;
    Outfit outfit = Outfit::Sailor;
    QColor cloth{245, 245, 250}; // main garment
    QColor cloth2{40, 50, 90};   // collar, inner shirt, trim
    QColor accent{220, 60, 80};  // ribbon, tie, small details
    bool shortSleeves = false;
};

struct Mood
{
    Brow brow = Brow::Neutral;
    Eyes eyes = Eyes::Open;
    Mouth mouth = Mouth::Smile;
    Arm left = Arm::Down;  // viewer's left
    Arm right = Arm::Down; // viewer's right
    double blush = 0;      // 0 none .. 1 strong, with hatching
    bool tears = false;
    bool sweat = false;
    bool gloom = false;    // shadow lines over the forehead
    bool vein = false;     // cross-shaped anger mark
    double look = 0;       // pupils: -1 looking to the viewer's left .. 1 right
    double tilt = 0;       // head tilt in degrees, positive leans to the viewer's right
};

// 280 x 490, transparent, the figure standing on (cut by) the lower edge.
QImage paintFigure(const Look &look, const Mood &mood);

} // namespace fig
