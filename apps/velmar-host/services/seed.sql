-- First-use contents of the stand-in host database: the configuration tree
-- with its cameras, the users with their rights, and the countries with the
-- nationality names the recognition forms offer. Statements end with ';' at
-- the end of a line.

CREATE TABLE config_objects (
  id             INTEGER PRIMARY KEY,
  parent_id      INTEGER REFERENCES config_objects(id),
  class_name     TEXT NOT NULL,
  inner_name     TEXT NOT NULL UNIQUE,
  display_name   TEXT NOT NULL,
  inner_path     TEXT NOT NULL UNIQUE,
  snapshot_fails INTEGER NOT NULL DEFAULT 0,
  -- Real cameras: 'device' (a video input, source its id) or 'stream'
  -- (source its address); NULL for everything else, the synthetic cameras too.
  source_kind    TEXT,
  source         TEXT,
  -- 0 hides the object from the security system.
  enabled        INTEGER NOT NULL DEFAULT 1
);

CREATE TABLE users (
  id           INTEGER PRIMARY KEY,
  login        TEXT NOT NULL UNIQUE,
  display_name TEXT NOT NULL,
  full_rights  INTEGER NOT NULL DEFAULT 0
);

CREATE TABLE user_object_rights (
  user_id   INTEGER NOT NULL REFERENCES users(id),
  object_id INTEGER NOT NULL REFERENCES config_objects(id),
  rights    INTEGER NOT NULL DEFAULT 1,
  PRIMARY KEY (user_id, object_id)
);

CREATE TABLE countries (
  id          INTEGER PRIMARY KEY,
  name        TEXT NOT NULL UNIQUE,
  nationality TEXT NOT NULL
);

INSERT INTO config_objects (id, parent_id, class_name, inner_name, display_name, inner_path) VALUES
  (1,  NULL, 'ConfigRoot',            'root',          'Конфигурация',              '/'),
  (2,  1,    'VideoServer_1',         'srv_main',      'Видеосервер',               '/srv_main'),
  (3,  1,    'AccessServer_1',        'srv_access',    'Сервер доступа',            '/srv_access'),
  (11, 2,    'EmbeddedCamera_1',      'cam_entrance',  'Проходная',                 '/srv_main/cam_entrance'),
  (12, 2,    'StandaloneCamera_2',    'cam_parking',   'Автостоянка',               '/srv_main/cam_parking'),
  (13, 2,    'EmbeddedCamera_1',      'cam_lobby',     'Вестибюль',                 '/srv_main/cam_lobby'),
  (14, 2,    'StandaloneCamera_2',    'cam_archive',   'Архив',                     '/srv_main/cam_archive'),
  (15, 2,    'EmbeddedCameraGroup_1', 'grp_first',     'Группа камер первого этажа', '/srv_main/grp_first'),
  (21, 3,    'AccessPoint_1',         'door_main',     'Главный вход',              '/srv_access/door_main'),
  (22, 3,    'CardReader_1',          'reader_main',   'Считыватель главного входа', '/srv_access/reader_main');

-- The archive camera answers every snapshot with a failure.
UPDATE config_objects SET snapshot_fails = 1 WHERE inner_name = 'cam_archive';

INSERT INTO users (id, login, display_name, full_rights) VALUES
  (1, 'admin',    'Администратор', 1),
  (2, 'operator', 'Оператор бюро пропусков', 0),
  (3, 'guest',    'Гость', 0);

INSERT INTO user_object_rights (user_id, object_id, rights) VALUES
  (2, 11, 1),
  (2, 14, 1),
  (2, 21, 1);

INSERT INTO countries (name, nationality) VALUES
  ('Россия',       'российское'),
  ('Азербайджан',  'азербайджанское'),
  ('Беларусь',     'белорусское'),
  ('Казахстан',    'казахстанское'),
  ('Киргизия',     'киргизское'),
  ('Таджикистан',  'таджикское'),
  ('Узбекистан',   'узбекское'),
  ('Украина',      'украинское'),
  ('Армения',      'армянское'),
  ('Грузия',       'грузинское'),
  ('Молдова',      'молдавское'),
  ('Туркменистан', 'туркменское'),
  ('Латвия',       'латвийское'),
  ('Литва',        'литовское'),
  ('Эстония',      'эстонское'),
  ('Германия',     'германское'),
  ('Франция',      'французское'),
  ('Италия',       'итальянское'),
  ('Испания',      'испанское'),
  ('Польша',       'польское'),
  ('Финляндия',    'финляндское'),
  ('Болгария',     'болгарское'),
  ('Сербия',       'сербское'),
  ('Турция',       'турецкое'),
  ('Израиль',      'израильское'),
  ('Китай',        'китайское'),
  ('Монголия',     'монгольское'),
  ('Вьетнам',      'вьетнамское'),
  ('Индия',        'индийское'),
  ('США',          'американское');
