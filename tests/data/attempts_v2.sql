-- An attempt store of the version before the sums (the schema's text exactly, one statement a
-- line): three attempts of lesson "a", one of them a built-in lesson's (kind 0), and their keys.
CREATE TABLE attempts(id INTEGER PRIMARY KEY, started_at TEXT NOT NULL, kind INTEGER NOT NULL, lesson TEXT NOT NULL, speed INTEGER, accuracy INTEGER, duration_ms INTEGER, keys INTEGER, misses INTEGER);
CREATE TABLE key_stats(attempt_id INTEGER NOT NULL REFERENCES attempts(id), ch TEXT NOT NULL, hits INTEGER, misses INTEGER);
CREATE INDEX key_stats_by_attempt ON key_stats(attempt_id);
CREATE INDEX attempts_by_lesson ON attempts(kind, lesson, started_at);
CREATE INDEX attempts_by_date ON attempts(started_at);
PRAGMA application_id = 1263752274;
PRAGMA user_version = 2;
INSERT INTO attempts VALUES(1, '2026-11-30T08:00:00Z', 1, 'a', 100, 90, 0, 0, 0), (2, '2026-11-30T20:00:00Z', 1, 'a', 200, 80, 0, 0, 0), (3, '2026-11-30T12:00:00Z', 0, 'a', 50, 50, 0, 0, 0);
INSERT INTO key_stats VALUES(1, 'e', 5, 1), (2, 'e', 7, 0), (2, 'f', 3, 3), (3, 'e', 100, 100);
