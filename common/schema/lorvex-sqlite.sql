-- Lorvex message store on the embedded SQLite engine.
-- Keys are counters the store assigns; text(n) columns are varchar(n), long text is text.
-- Deleting a message removes its recipients and files; deleting a mailing list or an address
-- removes its memberships (the driver turns foreign keys on).
-- IsTo is a smallint 0/1 as on PostgreSQL (stores made with a bit column read the same).
-- Safe to run on an existing store: nothing is created twice.

CREATE TABLE IF NOT EXISTS Folders (
  FolderNum INTEGER PRIMARY KEY AUTOINCREMENT,
  Folder varchar(16) UNIQUE,
  FolderType varchar(1),
  Description varchar(32)
);

CREATE TABLE IF NOT EXISTS Messages (
  MesgNum INTEGER PRIMARY KEY AUTOINCREMENT,
  FolderNum integer,
  MesgId varchar(64),
  FromAdd varchar(80),
  MesgDate varchar(40),
  AppDate timestamp,
  Subject varchar(255),
  MailData text,
  MesgType varchar(1),
  MesgSize integer
);
CREATE INDEX IF NOT EXISTS MessagesByFolder ON Messages (FolderNum, AppDate);
CREATE INDEX IF NOT EXISTS MessagesByAppDate ON Messages (AppDate);

-- AppDate is kept to the second so a message is found again by the time it was written with;
-- a fraction written by a driver ("2026-01-02 03:04:05.000") is cut off.
CREATE TRIGGER IF NOT EXISTS MessagesAppDateInsert AFTER INSERT ON Messages
  WHEN length(NEW.AppDate) > 19
BEGIN
  UPDATE Messages SET AppDate = substr(NEW.AppDate, 1, 19) WHERE MesgNum = NEW.MesgNum;
END;
CREATE TRIGGER IF NOT EXISTS MessagesAppDateUpdate AFTER UPDATE OF AppDate ON Messages
  WHEN length(NEW.AppDate) > 19
BEGIN
  UPDATE Messages SET AppDate = substr(NEW.AppDate, 1, 19) WHERE MesgNum = NEW.MesgNum;
END;

CREATE TABLE IF NOT EXISTS ToList (
  MesgNum integer REFERENCES Messages (MesgNum) ON DELETE CASCADE,
  ToName varchar(80)
);
CREATE INDEX IF NOT EXISTS ToListByMessage ON ToList (MesgNum);

CREATE TABLE IF NOT EXISTS CcList (
  MesgNum integer REFERENCES Messages (MesgNum) ON DELETE CASCADE,
  CcName varchar(80)
);
CREATE INDEX IF NOT EXISTS CcListByMessage ON CcList (MesgNum);

CREATE TABLE IF NOT EXISTS Files (
  FileNum INTEGER PRIMARY KEY AUTOINCREMENT,
  MesgNum integer REFERENCES Messages (MesgNum) ON DELETE CASCADE,
  FileName varchar(255)
);
CREATE INDEX IF NOT EXISTS FilesByMessage ON Files (MesgNum);

CREATE TABLE IF NOT EXISTS AddBook (
  AddNum INTEGER PRIMARY KEY AUTOINCREMENT,
  AddName varchar(48),
  AddDest varchar(80),
  AddNote varchar(80)
);

CREATE TABLE IF NOT EXISTS Distribution (
  DistroNum INTEGER PRIMARY KEY AUTOINCREMENT,
  DistroName varchar(32)
);

CREATE TABLE IF NOT EXISTS DistroAdd (
  DistroNum integer REFERENCES Distribution (DistroNum) ON DELETE CASCADE,
  AddNum integer REFERENCES AddBook (AddNum) ON DELETE CASCADE,
  IsTo smallint CHECK (IsTo IN (0, 1))
);
CREATE INDEX IF NOT EXISTS DistroAddByList ON DistroAdd (DistroNum);
CREATE INDEX IF NOT EXISTS DistroAddByAddress ON DistroAdd (AddNum);
