-- The back-end instances of the installation ("Kestrine" database); DEFAULTBIS = 1 marks the
-- default one.
CREATE TABLE BISINSTANCE (
  BISID INTEGER NOT NULL PRIMARY KEY,
  BISNAME VARCHAR(100),
  DEFAULTBIS SMALLINT NOT NULL DEFAULT 0
);
