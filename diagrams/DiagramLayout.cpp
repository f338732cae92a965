// SPDX-License-Identifier: GPL-3.0-or-later
#include "diagrams/DiagramLayout.h"

using E = Evaluation;

const QRectF DiagramLayout::CircleBox(170, 20, 460, 460);
const QRectF DiagramLayout::USinBox(85, 5, 630, 490);
const QRectF DiagramLayout::HusbWifeBox(230, 5, 380, 480);

const std::array<DiagramLayout::SidePlace, 12> DiagramLayout::Circle = {{
    {E::Gb, 400, 70, "Gb"},
    {E::Lv, 490, 95, "Lv"},
    {E::Lu, 555, 160, "Lu"},
    {E::Li, 580, 250, "Li"},
    {E::St, 555, 340, "St"},
    {E::Sp, 490, 405, "Sp"},
    {E::Ht, 400, 430, "Ht"},
    {E::Si, 310, 405, "Si"},
    {E::Bl, 245, 340, "Bl"},
    {E::Ki, 220, 250, "Ki"},
    {E::Hc, 245, 160, "Hc"},
    {E::Th, 310, 95, "Th"},
}};

const std::array<DiagramLayout::Line, 12> DiagramLayout::USinLines = {{
    {false, 400, 70, 150, 310},
    {false, 400, 70, 650, 310},
    {false, 250, 430, 150, 310},
    {false, 550, 430, 650, 310},
    {false, 250, 430, 550, 430},
    {false, 400, 200, 150, 310},
    {false, 400, 200, 650, 310},
    {true, 400, 200, 250, 430},
    {true, 400, 200, 550, 430},
    {true, 650, 310, 250, 430},
    {true, 150, 310, 550, 430},
    {true, 150, 310, 650, 310},
}};

const std::array<DiagramLayout::PairPlace, 6> DiagramLayout::USinPairs = {{
    {400, 70, E::Th, "Th", E::Hc, "Hc"},
    {400, 200, E::Si, "Si", E::Ht, "Ht"},
    {150, 310, E::Gb, "Gb", E::Lv, "Lv"},
    {250, 430, E::Bl, "Bl", E::Ki, "Ki"},
    {650, 310, E::St, "St", E::Sp, "Sp"},
    {550, 430, E::Li, "Li", E::Lu, "Lu"},
}};

const std::array<DiagramLayout::Line, 3> DiagramLayout::HusbWifeLines = {{
    {true, 300, 120, 500, 120},
    {true, 300, 270, 500, 270},
    {true, 300, 420, 500, 420},
}};

const std::array<DiagramLayout::PairPlace, 6> DiagramLayout::HusbWifePairs = {{
    {300, 120, E::Si, "Si", E::Ht, "Ht"},
    {500, 120, E::Li, "Li", E::Lu, "Lu"},
    {300, 270, E::Gb, "Gb", E::Lv, "Lv"},
    {500, 270, E::St, "St", E::Sp, "Sp"},
    {300, 420, E::Bl, "Bl", E::Ki, "Ki"},
    {500, 420, E::Th, "Th", E::Hc, "Hc"},
}};

const std::array<DiagramLayout::Seed, 12> DiagramLayout::Picture1Seeds = {{
    {E::Li, 100, 50, 130, 50},
    {E::St, 160, 50, 190, 50},
    {E::Lu, 80, 130, 110, 130},
    {E::Sp, 200, 130, 220, 130},
    {E::Ht, 250, 130, 280, 130},
    {E::Ki, 370, 130, 400, 130},
    {E::Si, 270, 50, 300, 50},
    {E::Bl, 340, 50, 370, 50},
    {E::Hc, 430, 130, 450, 130},
    {E::Lv, 550, 130, 570, 130},
    {E::Th, 450, 50, 480, 50},
    {E::Gb, 510, 50, 540, 50},
}};

const std::array<DiagramLayout::Seed, 12> DiagramLayout::Picture2Seeds = {{
    {E::Li, 210, 65, 210, 30},
    {E::St, 286, 65, 286, 30},
    {E::Lu, 220, 160, 220, 125},
    {E::Sp, 280, 160, 280, 125},
    {E::Ht, 340, 230, 370, 230},
    {E::Ki, 340, 280, 370, 280},
    {E::Si, 430, 240, 470, 230},
    {E::Bl, 430, 280, 470, 290},
    {E::Lv, 137, 317, 160, 296},
    {E::Hc, 167, 353, 194, 333},
    {E::Gb, 61, 375, 96, 363},
    {E::Th, 105, 426, 135, 410},
}};
