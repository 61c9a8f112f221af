// SPDX-License-Identifier: GPL-3.0-or-later
// The sweep's golden table (tests/data/sweep-golden.txt, written by
// scripts/golden_sweep.py): for each input, every point the sweep must deliver, as bit
// patterns and as the text the result lists show, and the fault that ends it, if any.
// Plain C++, so that both the calculation tests and the window tests can read it.
#pragma once

#include "calc/CapacitanceSweep.h"

#include <array>
#include <bit>
#include <cstdint>
#include <fstream>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

struct TGoldenPoint {
    double V, C, InvC2;
    std::string cText, invC2Text; // as the result lists show them
};

struct TGoldenRow {
    std::string name;
    TJunctionInput input {};
    std::array<std::string, 4> inputText; // Nd, EpsS, Vd, S as typed into the fields
    std::vector<TGoldenPoint> points;
    std::optional<TSweepFault> fault;
    double faultV = 0.0;

    [[nodiscard]] bool IsRandom() const { return name.rfind("random_", 0) == 0; }
};

namespace golden_detail {

inline double FromBits(const std::string& hex)
{
    std::size_t used = 0;
    const std::uint64_t bits = std::stoull(hex, &used, 16);
    if (hex.size() != 16 || used != 16)
        throw std::runtime_error("not a 16-digit bit pattern: " + hex);
    return std::bit_cast<double>(bits);
}

inline std::vector<TGoldenRow> Read()
{
    std::ifstream file(CVPLOT_GOLDEN_SWEEP);
    if (!file)
        throw std::runtime_error("cannot open " CVPLOT_GOLDEN_SWEEP);
    std::vector<TGoldenRow> rows;
    std::string line;
    int number = 0;
    while (std::getline(file, line)) {
        ++number;
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        std::string kind;
        fields >> kind;
        const auto bad = [&] {
            return std::runtime_error(
                CVPLOT_GOLDEN_SWEEP ":" + std::to_string(number) + ": cannot read: " + line);
        };
        if (kind == "input") {
            TGoldenRow row;
            std::string hex[4];
            fields >> row.name >> hex[0] >> hex[1] >> hex[2] >> hex[3] >> row.inputText[0]
                >> row.inputText[1] >> row.inputText[2] >> row.inputText[3];
            if (!fields)
                throw bad();
            row.input = { FromBits(hex[0]), FromBits(hex[1]), FromBits(hex[2]), FromBits(hex[3]) };
            rows.push_back(std::move(row));
        } else if (kind == "point" && !rows.empty() && !rows.back().fault) {
            TGoldenPoint p;
            std::string v, c, inv;
            fields >> v >> c >> inv >> p.cText >> p.invC2Text;
            if (!fields)
                throw bad();
            p.V = FromBits(v);
            p.C = FromBits(c);
            p.InvC2 = FromBits(inv);
            rows.back().points.push_back(std::move(p));
        } else if (kind == "fault" && !rows.empty() && !rows.back().fault) {
            std::string name, v;
            fields >> name >> v;
            if (!fields)
                throw bad();
            if (name == "NegativeProduct")
                rows.back().fault = TSweepFault::NegativeProduct;
            else if (name == "NoRealValue")
                rows.back().fault = TSweepFault::NoRealValue;
            else if (name == "ZeroCapacitance")
                rows.back().fault = TSweepFault::ZeroCapacitance;
            else if (name == "OutOfRange")
                rows.back().fault = TSweepFault::OutOfRange;
            else if (name == "IntermediateOutOfRange")
                rows.back().fault = TSweepFault::IntermediateOutOfRange;
            else if (name == "PrecisionLost")
                rows.back().fault = TSweepFault::PrecisionLost;
            else
                throw bad();
            rows.back().faultV = FromBits(v);
        } else {
            throw bad();
        }
    }
    return rows;
}

} // namespace golden_detail

// Every row of the table, read once. Throws std::runtime_error naming the file and line
// when the table is missing or malformed.
inline const std::vector<TGoldenRow>& GoldenSweep()
{
    static const std::vector<TGoldenRow> rows = golden_detail::Read();
    return rows;
}

// The row called `name`; throws std::runtime_error when there is none.
inline const TGoldenRow& GoldenRow(const std::string& name)
{
    for (const TGoldenRow& row : GoldenSweep())
        if (row.name == name)
            return row;
    throw std::runtime_error("no row " + name + " in " CVPLOT_GOLDEN_SWEEP);
}
