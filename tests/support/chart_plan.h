#pragma once

// A Financial Plan with three charts, one of each look a founder reaches
// for: columns, horizontal bars and a pie.
#include <QString>

inline const QString kThreeChartsSection = QStringLiteral(
    "Revenue grows fourfold by 2030.\r\n"
    "Chart: Revenue and costs, EUR thousands\r\n"
    "Year: 2027, 2028, 2029, 2030\r\n"
    "Revenue: 120, 480, 1 200, 2 600\r\n"
    "Costs: 300, 450, 800, 1 400\r\n"
    "\r\n"
    "Chart (bar): Market size, EUR millions\r\n"
    "Market: City, Region, Country\r\n"
    "Size: 40, 180, 950\r\n"
    "\r\n"
    "Chart (pie): Use of funds\r\n"
    "Use: Team, Farms, Sales, Reserve\r\n"
    "Share: 45%, 30%, 15%, 10%");

// Those three and a line: one chart of each kind.
inline const QString kFourChartsSection = kThreeChartsSection
                                          + QStringLiteral(
                                              "\r\n\r\n"
                                              "Chart (line): Customers\r\n"
                                              "Year: 2027, 2028, 2029, 2030\r\n"
                                              "Customers: 3, 12, 40, 95");
