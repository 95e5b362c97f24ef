#pragma once
// The statements the build sends, unchanged, with named parameters. The schema scripts beside
// them are checked against exactly these texts.

namespace zaltor::dbbuild {

inline constexpr const char *kBlocksQuery = "SELECT * FROM CTAB WHERE PARENT=:N ORDER BY N";
inline constexpr const char *kSensorZoneQuery =
    "SELECT INN,GRD,NC,SHCONTR,DELAYSNS,DELAYSET,AUTOSET,ZONENUMBER FROM SNSTAB WHERE TCN=:N AND "
    "INN=:INN";
inline constexpr const char *kControlChannelQuery =
    "SELECT N,OUTN,CAN_ACTIVE,CAN_CONTROL,ZONENUMBER FROM DEVTAB WHERE TCN=:N AND OUTN=:OUTN";
inline constexpr const char *kUsersQuery =
    "SELECT CLITAB.N, CLITAB.NUM_KD, PULTUSERS.* FROM CLITAB, PULTUSERS WHERE "
    "CLITAB.N=PULTUSERS.CLI_N AND "
    "PULTUSERS.TCN=:N";
inline constexpr const char *kSectionsQuery = "SELECT * FROM PULTSECTIONS WHERE TCN=:N";

}  // namespace zaltor::dbbuild
