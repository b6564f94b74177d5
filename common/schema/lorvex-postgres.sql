-- Lorvex message store on PostgreSQL.
-- Keys are SERIAL counters; text(n) columns are varchar(n), long text is text; AppDate keeps
-- whole seconds (timestamp(0)). IsTo is a smallint 0/1, as on SQLite, so "IsTo = 1" compares
-- as the programs write it. Deleting a message removes its recipients and files; deleting a
-- mailing list or an address removes its memberships. Safe to run on an existing store.

CREATE TABLE IF NOT EXISTS Folders (
  FolderNum SERIAL PRIMARY KEY,
  Folder varchar(16) UNIQUE,
  FolderType varchar(1),
  Description varchar(32)
);

CREATE TABLE IF NOT EXISTS Messages (
  MesgNum SERIAL PRIMARY KEY,
  FolderNum integer,
  MesgId varchar(64),
  FromAdd varchar(80),
  MesgDate varchar(40),
  AppDate timestamp(0),
  Subject varchar(255),
  MailData text,
  MesgType varchar(1),
  MesgSize integer
);
CREATE INDEX IF NOT EXISTS MessagesByFolder ON Messages (FolderNum, AppDate);
CREATE INDEX IF NOT EXISTS MessagesByAppDate ON Messages (AppDate);

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
  FileNum SERIAL PRIMARY KEY,
  MesgNum integer REFERENCES Messages (MesgNum) ON DELETE CASCADE,
  FileName varchar(255)
);
CREATE INDEX IF NOT EXISTS FilesByMessage ON Files (MesgNum);

CREATE TABLE IF NOT EXISTS AddBook (
  AddNum SERIAL PRIMARY KEY,
  AddName varchar(48),
  AddDest varchar(80),
  AddNote varchar(80)
);

CREATE TABLE IF NOT EXISTS Distribution (
  DistroNum SERIAL PRIMARY KEY,
  DistroName varchar(32)
);

CREATE TABLE IF NOT EXISTS DistroAdd (
  DistroNum integer REFERENCES Distribution (DistroNum) ON DELETE CASCADE,
  AddNum integer REFERENCES AddBook (AddNum) ON DELETE CASCADE,
  IsTo smallint CHECK (IsTo IN (0, 1))
);
CREATE INDEX IF NOT EXISTS DistroAddByList ON DistroAdd (DistroNum);
CREATE INDEX IF NOT EXISTS DistroAddByAddress ON DistroAdd (AddNum);

-- A key written with its row (a store copied from another engine keeps its keys) moves the
-- table's counter past it, as SQLite's AUTOINCREMENT does, so a counted key is never one taken.
CREATE OR REPLACE FUNCTION lx_counter_past_keys() RETURNS trigger AS $$
DECLARE
  counter text := pg_get_serial_sequence(TG_TABLE_NAME, TG_ARGV[0]);
  top bigint;
  given bigint;
BEGIN
  EXECUTE format('SELECT MAX(%I) FROM %I', TG_ARGV[0], TG_TABLE_NAME) INTO top;
  EXECUTE format('SELECT CASE WHEN is_called THEN last_value ELSE last_value - 1 END FROM %s',
                 counter) INTO given;
  IF top > given THEN
    PERFORM setval(counter, top);
  END IF;
  RETURN NULL;
END
$$ LANGUAGE plpgsql;
CREATE OR REPLACE TRIGGER FoldersCounter AFTER INSERT ON Folders
  FOR EACH STATEMENT EXECUTE FUNCTION lx_counter_past_keys('foldernum');
CREATE OR REPLACE TRIGGER MessagesCounter AFTER INSERT ON Messages
  FOR EACH STATEMENT EXECUTE FUNCTION lx_counter_past_keys('mesgnum');
CREATE OR REPLACE TRIGGER FilesCounter AFTER INSERT ON Files
  FOR EACH STATEMENT EXECUTE FUNCTION lx_counter_past_keys('filenum');
CREATE OR REPLACE TRIGGER AddBookCounter AFTER INSERT ON AddBook
  FOR EACH STATEMENT EXECUTE FUNCTION lx_counter_past_keys('addnum');
CREATE OR REPLACE TRIGGER DistributionCounter AFTER INSERT ON Distribution
  FOR EACH STATEMENT EXECUTE FUNCTION lx_counter_past_keys('distronum');
