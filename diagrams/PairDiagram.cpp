#include "diagrams/PairDiagram.h"

#include "app/TfrmMain.h"

void PairDiagram::drawLine(QPainter &p, const DiagramLayout::Line &line)
{
    if (line.dotted)
        frmMain->DrawDottedLine(line.x1, line.y1, line.x2, line.y2, &p);
    else
        frmMain->DrawSolidLine(line.x1, line.y1, line.x2, line.y2, &p);
}

void PairDiagram::drawPair(QPainter &p, const DiagramLayout::PairPlace &pair)
{
    frmMain->DrawPairSymbol(pair.x, pair.y, frmMain->ClassColor[pair.meridianA][Evaluation::Left],
                            frmMain->ClassColor[pair.meridianB][Evaluation::Left],
                            QString::fromLatin1(pair.textA), QString::fromLatin1(pair.textB), &p);
}
