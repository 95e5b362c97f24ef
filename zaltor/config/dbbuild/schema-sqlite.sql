-- The site database as the loader reads it (it never writes it): the controller tree, the
-- zones and control channels of the blocks, the panel users with their cards and passwords,
-- the section memberships and the network controllers' addresses.
-- sqlite3 site.db < schema-sqlite.sql

-- Controllers: a panel is a row of type 'Пульт M50'; its blocks are the rows whose PARENT is
-- the panel's N. A panel stores its address negated.
CREATE TABLE CTAB (
  N       INTEGER PRIMARY KEY,
  PARENT  INTEGER,
  CTYPE   TEXT,
  OPIS    TEXT,
  PORT    INTEGER,
  LINE    INTEGER,
  ADDR    INTEGER
);
CREATE INDEX CTAB_PARENT ON CTAB (PARENT);

-- Network controllers: CN is the controller's N in CTAB; SERVNAME is the TCP port or service.
CREATE TABLE ETHERNETADTAB (
  CN        INTEGER PRIMARY KEY,
  IPADDR    TEXT,
  SERVNAME  TEXT
);

-- Sensor zones: TCN is the block's N, INN the zone's number within the block.
CREATE TABLE SNSTAB (
  TCN         INTEGER NOT NULL,
  INN         INTEGER NOT NULL,
  GRD         INTEGER,
  NC          INTEGER,
  SHCONTR     INTEGER,
  DELAYSNS    INTEGER,
  DELAYSET    INTEGER,
  AUTOSET     INTEGER,
  ZONENUMBER  INTEGER,
  PRIMARY KEY (TCN, INN)
);

-- Control channels: TCN is the block's N, OUTN the channel's number within the block.
CREATE TABLE DEVTAB (
  N            INTEGER PRIMARY KEY,
  TCN          INTEGER NOT NULL,
  OUTN         INTEGER NOT NULL,
  CAN_ACTIVE   INTEGER,
  CAN_CONTROL  INTEGER,
  ZONENUMBER   INTEGER
);
CREATE INDEX DEVTAB_TCN_OUTN ON DEVTAB (TCN, OUTN);

-- Clients; NUM_KD is the card code as hexadecimal text.
CREATE TABLE CLITAB (
  N       INTEGER PRIMARY KEY,
  NUM_KD  TEXT
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
