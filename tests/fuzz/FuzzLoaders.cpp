// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

// Each source-table loader on an arbitrary file. Which one is chosen at
// build time (TAVREL_FUZZ_LOADER), so that each has its own target and
// corpus. A loader may report rows or raise the system's error, nothing else.
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "sources/SrcKamoku.h"
#include "sources/SrcKinsen.h"
#include "sources/SrcTantosha.h"
#include "sources/SrcZandaka.h"

using namespace tavrel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* AData, size_t ASize)
{
    const std::string Path = fuzz::WriteWorkFile("table.csv", AData, ASize);
    const TTvrRegionalSettings Settings;
    const TTvrExecuteSendMessage Ignore = [](const std::string&) {};
    try {
#if TAVREL_FUZZ_LOADER == 1
        const TSrcKamokuMaster Master(Path, Ignore, Settings);
        if (Master.Completed()) {
            int Index = -1;
            (void)Master.KamokuItems().Find("000", Index);
        }
#elif TAVREL_FUZZ_LOADER == 2
        const TSrcTantoshaMaster Master(Path, Ignore);
        int Index = -1;
        if (Master.Completed())
            (void)Master.Tantoshas().Find("01", Index);
#elif TAVREL_FUZZ_LOADER == 3
        const TSrcZandakaTable Table(Path, Ignore, Settings, fuzz::FuzzToday());
#else
        const char* const kMaster = "000,繰越,,,1000\r\n100,会費,,,5000\r\n,10,年会費,,\r\n,,1,正会員\r\n"
                                    "200,事業費,,,3000\r\n,,5,消耗品\r\n";
        const char* const kPersons = "01,会計\r\n02,庶務\r\n";
        static const std::string MasterPath = fuzz::WriteWorkFile("master.csv", kMaster);
        static const std::string PersonsPath = fuzz::WriteWorkFile("persons.csv", kPersons);
        TSrcKamokuMaster Master(MasterPath, Ignore, Settings);
        const TSrcTantoshaMaster Persons(PersonsPath, Ignore);
        const TSrcKinsenTable Table(Path, Ignore, &Persons, Master, Settings, fuzz::FuzzToday());
        // Whatever the load, the indices stay within the rows and months.
        for (int M = 0; M < Table.KinsenMonthlyIndices().Count(); ++M)
            for (const int32_t I : Table.KinsenMonthlyIndices().Indiceses(M).Items())
                if (I < 0 || I >= Table.Kinsens().Count())
                    fuzz::Violated();
#endif
    } catch (const ETvrError&) {
    }
    return 0;
}
