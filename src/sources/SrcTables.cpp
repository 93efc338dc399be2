// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "sources/SrcTables.h"

#include "sources/SrcKamoku.h"
#include "sources/SrcKinsen.h"
#include "sources/SrcTantosha.h"
#include "sources/SrcZandaka.h"

namespace tavrel {

const TSrcTableInfo& SrcTableInfo(TSrcTableKind AKind)
{
    static const std::array<TSrcTableInfo, 4> Infos = {{
        {TSrcTableKind::Kamoku, "収支科目マスタ", "収支科目", "収支科目マスタ.csv", false,
         TSrcKamokuMaster::FieldDefs()},
        {TSrcTableKind::Tantosha, "担当者マスタ", "担当者", "担当者マスタ.csv", true,
         TSrcTantoshaMaster::FieldDefs()},
        {TSrcTableKind::Zandaka, "残高テーブル", "残高", "残高テーブル.csv", true, TSrcZandakaTable::FieldDefs()},
        {TSrcTableKind::Kinsen, "金銭出納テーブル", "金銭出納", "金銭出納テーブル.csv", false,
         TSrcKinsenTable::FieldDefs()},
    }};
    return Infos[static_cast<size_t>(AKind)];
}

std::string LoadingMessage(TSrcTableKind AKind)
{
    return std::string(SrcTableInfo(AKind).Caption) + "読込中...";
}

} // namespace tavrel
