#pragma once

#include "CandidateGrid.h"
#include "Step.h"

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

// Positions are written in the notation of the step texts: cells "r4c7", candidates
// "r4c7<>5" (eliminated) or "r4c7=5" (placed), so expectations read like the output.
inline int cellOf(const std::string& name, int size = 9)
{
    int row = 0, col = 0;
    std::sscanf(name.c_str(), "r%dc%d", &row, &col);
    return (row - 1) * size + col - 1;
}

inline std::vector<Candidate> candidatesOf(const std::string& text, int size = 9)
{
    std::vector<Candidate> result;
    std::istringstream in(text);
    for (std::string word; in >> word;) {
        const std::size_t mark = word.find_first_of("<=");
        const std::size_t digits = word.find_first_of("0123456789", mark);
        result.push_back({cellOf(word.substr(0, mark), size), std::stoi(word.substr(digits))});
    }
    std::sort(result.begin(), result.end(),
              [](Candidate a, Candidate b) { return a.cell != b.cell ? a.cell < b.cell : a.value < b.value; });
    return result;
}

inline std::vector<Candidate> sorted(std::vector<Candidate> candidates)
{
    std::sort(candidates.begin(), candidates.end(),
              [](Candidate a, Candidate b) { return a.cell != b.cell ? a.cell < b.cell : a.value < b.value; });
    return candidates;
}

inline std::vector<int> valuesOfLine(const std::string& line)
{
    std::vector<int> values;
    for (const char ch : line.substr(0, 81))
        values.push_back(ch == '.' || ch == '0' ? 0 : ch - '0');
    return values;
}

// Unit numbers as the grid counts them: rows, then columns, then boxes.
inline int row(int r, int size = 9) { return r - 1 + 0 * size; }
inline int col(int c, int size = 9) { return c - 1 + size; }
inline int box(int b, int size = 9) { return b - 1 + 2 * size; }

// Removes value from every cell of unit except the named ones.
inline void keepOnly(CandidateGrid& grid, int value, int unit, const std::string& keep)
{
    std::vector<int> kept;
    std::istringstream in(keep);
    for (std::string name; in >> name;)
        kept.push_back(cellOf(name, grid.getSize()));
    const int* cells = grid.getLayout().cellsOf(unit);
    for (int i = 0; i < grid.getSize(); ++i)
        if (std::find(kept.begin(), kept.end(), cells[i]) == kept.end())
            grid.eliminate(cells[i], value);
}

// Leaves the cell with the listed candidates only ("125").
inline void setCandidates(CandidateGrid& grid, const std::string& cell, const std::string& values)
{
    const int index = cellOf(cell, grid.getSize());
    for (int v = 1; v <= grid.getSize(); ++v)
        if (values.find(static_cast<char>('0' + v)) == std::string::npos)
            grid.eliminate(index, v);
}
