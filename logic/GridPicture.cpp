#include "GridPicture.h"

GridPicture GridPicture::of(const CandidateGrid& grid, const std::vector<int>& givens, bool candidates,
                            std::optional<Step> step)
{
    GridPicture picture;
    picture.innerSize = grid.getInnerSize();
    picture.values = grid.getValues();
    for (const int given : givens)
        picture.givens.push_back(given != 0);
    if (candidates)
        for (int cell = 0; cell < grid.getCellCount(); ++cell)
            picture.candidates.push_back(grid.getCandidates(cell));
    picture.step = std::move(step);
    return picture;
}
