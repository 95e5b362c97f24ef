-- The site database as the loader reads it (it never writes it): the controller tree, the
-- zones and control channels of the blocks, the panel users with their cards and passwords,
-- the section memberships and the network controllers' addresses.
-- Run in an existing dialect 3 database, preferably created with DEFAULT CHARACTER SET UTF8:
-- isql-fb -b -ch UTF8 -user SYSDBA -password ... localhost:/var/lib/firebird/site.fdb -i schema-firebird.sql
-- Texts are UTF8 whatever the database's default, so UPPER folds Cyrillic type names.

SET SQL DIALECT 3;

-- Controllers: a panel is a row of type 'Пульт M50'; its blocks are the rows whose PARENT is
-- the panel's N. A panel stores its address negated.
CREATE TABLE CTAB (
  N       INTEGER NOT NULL PRIMARY KEY,
  PARENT  INTEGER,
  CTYPE   VARCHAR(40) CHARACTER SET UTF8,
  OPIS    VARCHAR(120) CHARACTER SET UTF8,
  PORT    INTEGER,
  LINE    INTEGER,
  ADDR    INTEGER
);
CREATE INDEX CTAB_PARENT ON CTAB (PARENT);

-- Network controllers: CN is the controller's N in CTAB; SERVNAME is the TCP port or service.
CREATE TABLE ETHERNETADTAB (
  CN        INTEGER NOT NULL PRIMARY KEY,
  IPADDR    VARCHAR(255) CHARACTER SET UTF8,
  SERVNAME  VARCHAR(32) CHARACTER SET UTF8
);

-- Sensor zones: TCN is the block's N, INN the zone's number within the block.
CREATE TABLE SNSTAB (
  TCN         INTEGER NOT NULL,
  INN         SMALLINT NOT NULL,
  GRD         SMALLINT,
  NC          SMALLINT,
  SHCONTR     SMALLINT,
  DELAYSNS    SMALLINT,
  DELAYSET    SMALLINT,
  AUTOSET     SMALLINT,
  ZONENUMBER  SMALLINT,
  PRIMARY KEY (TCN, INN)
);

-- Control channels: TCN is the block's N, OUTN the channel's number within the block.
CREATE TABLE DEVTAB (
  N            INTEGER NOT NULL PRIMARY KEY,
  TCN          INTEGER NOT NULL,
  OUTN         SMALLINT NOT NULL,
  CAN_ACTIVE   SMALLINT,
  CAN_CONTROL  SMALLINT,
  ZONENUMBER   SMALLINT
);
CREATE INDEX DEVTAB_TCN_OUTN ON DEVTAB (TCN, OUTN);

-- Clients; NUM_KD is the card code as hexadecimal text.
CREATE TABLE CLITAB (
  N       INTEGER NOT NULL PRIMARY KEY,
  NUM_KD  VARCHAR(32) CHARACTER SET UTF8
);

-- Panel users: TCN is the panel's N, TCN_N the user's number on the panel, PASSW a four-digit
-- password. A user number may repeat; the last row read wins.
CREATE TABLE PULTUSERS (
  TCN    INTEGER NOT NULL,
  CLI_N  INTEGER NOT NULL,
  TCN_N  INTEGER,
  PASSW  INTEGER
);
CREATE INDEX PULTUSERS_TCN ON PULTUSERS (TCN);

-- Section memberships: TCN is the panel's N, SNUMBER the section, N the member zone number.
CREATE TABLE PULTSECTIONS (
  TCN      INTEGER NOT NULL,
  SNUMBER  INTEGER NOT NULL,
  N        INTEGER NOT NULL,
  PRIMARY KEY (TCN, SNUMBER, N)
);

COMMIT;
