#pragma once
// One parametrised character painter behind every figure: a set keeps its Look
// for all its pictures, and each picture varies only its Mood, so a character
// stays the same person from one line to the next.
#include <QColor>
#include <QImage>

namespace fig {

enum class Hair { Long, Bob, Ponytail, TwinTails, Short, Messy, LowTail, Floating };
enum class Fringe { Pointed, Straight, Swept };
// Layered: an open zip hoodie over a blazer. Light: a dress made of light.
enum class Outfit { Sailor, Blazer, Hoodie, Jacket, Dress, Coat, Sweater, Robe, Layered, Cardigan,
                    Light };
enum class Brow { Neutral, Raised, Worried, Angry, Sad, Skeptic };
enum class Eyes { Open, Wide, Half, Smile, Closed, Narrow, Down, Blank };
enum class Mouth { Neutral, Smile, Grin, Open, Frown, Shout, Wavy, Smirk, Small, Grit, Pout };
// One pose per arm. Mouth: hand over the mouth; Head: scratching the back of
// the head; Behind: hands behind the back; Up: open hand raised beside the
// shoulder; Hug: hand on the opposite upper arm; Raise: fist up high; Pocket:
// hand in a front pocket; Lock: fingers in the side lock; Hush: finger at the
// lips; Touch: palm forward as on a pane; Glasses: pushing them up; Temple: hand
// at the temple; Offer: open hand held out; Hold: hands holding the prop;
// Pray: hands clasped at the chest.
enum class Arm { Down, Chest, Think, Clasp, Cross, Wave, Fist, Hips, Mouth, Head, Point, Behind,
                 Up, Hug, Raise, Pocket, Lock, Hush, Touch, Glasses, Temple, Offer, Hold, Pray };
// The star notebook and how it is held.
enum class Prop { None, BookUnderArm, BookChest, BookOpenUp, BookOpenDown, BookFace, Pencil };

struct Look
{
    bool male = false;
    double lift = 0;  // moves the whole figure up (negative) or down: height
    QColor skin{255, 233, 220};
    QColor hair{80, 60, 50};
    QColor eyes{90, 120, 200};
    Hair hairStyle = Hair::Long;
    Fringe fringe = Fringe::Pointed;
    double hairLength = 0; // longer bob
    QColor hairTip;       // colour the long hair fades into at its ends, if valid
    bool sideTail = false; // small side ponytail on the viewer's right
    bool starClip = false; // star-shaped clip in the accent colour
    bool ringPin = false;  // ring-shaped white hairpin on the viewer's right
    bool freckles = false;
    bool older = false;    // lines under the eyes and beside the mouth
    bool irisRing = false; // a faint ring of light in the iris
    bool hologram = false; // translucent body of light with a halo and particles
    double sweep = 0;  // bangs parting: negative sweeps to the viewer's left
    bool ahoge = false;
    bool hairTie = false; // ribbon or tie in the accent colour where the style has one
    bool hairpin = false;
    bool glasses = false;
    bool sharpEyes = false;
    Outfit outfit = Outfit::Sailor;
    QColor cloth{245, 245, 250}; // main garment
    QColor cloth2{40, 50, 90};   // collar, inner shirt, trim
    QColor accent{220, 60, 80};  // tie, hair ornaments, small details
    QColor ribbon{205, 40, 60};  // ribbon at the collar
    QColor trim;          // thin line along collar and cuffs, if valid
    QColor innerSleeve;   // sleeve showing below pushed-up outer sleeves, if valid
    QColor scarf;         // scarf around the neck, if valid
    bool buttoned = false; // blazer closed up to the ribbon
    bool emblem = false;  // planet emblem on the breast, in cloth2
    bool shortSleeves = false;
    QColor book{40, 52, 100}; // notebook cover
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
    bool wink = false;     // the eye on the viewer's right closed in a smile
    QColor glow;           // eyes glowing in this colour, if valid
    Prop prop = Prop::None;
    bool glassesSlip = false;
    bool flare = false;    // hair thrown outwards
    double particles = 0;  // 0 .. 1: motes of light leaving a hologram
    bool protocol = false; // hologram lines turn white
    bool warm = false;     // hologram light warmer and steadier
    // The whole figure moved to the viewer's right: a figure the staging also
    // puts in the slot that the screen's left edge cuts stands clear of it.
    double shift = 0;
    bool back = false; // seen from behind: no face, arms at the sides
    unsigned seed = 1;     // for the scattered particles
};

// Shown at 280 x 490 (drawn at twice that), transparent, the figure standing
// on (cut by) the lower edge.
QImage paintFigure(const Look &look, const Mood &mood);

} // namespace fig
