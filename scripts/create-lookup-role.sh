#!/usr/bin/env bash
# Creates, or brings up to date, the PostgreSQL role the workstations' direct
# look-ups connect as: it logs in and reads the tables the look-ups name (OPERADOR
# without its password hash) and nothing else; its transactions are read-only by
# default and it may not create objects. Every write goes through the server.
#
#   scripts/create-lookup-role.sh ADMIN ROLE [PASSWORD [SCHEMA]]
#     ADMIN     libpq URI or connect string of a role that owns the module's tables
#               (or a superuser) and may create roles
#     ROLE      the look-up role's name
#     PASSWORD  its password; "-" or left out: taken from MXA_LOOKUP_PASSWORD, or
#               asked for (so it stays out of the shell history)
#     SCHEMA    the schema of the module's tables (default public)
#
# Run again, it sets the password again and puts the grants back to exactly these.
set -euo pipefail

if [ $# -lt 2 ] || [ $# -gt 4 ]; then
  sed -n '2,15p' "$0" | sed 's/^# \{0,1\}//' >&2
  exit 2
fi
admin=$1
role=$2
password=${3:--}
schema=${4:-public}

if ! command -v psql >/dev/null; then
  echo "psql não está instalado (rode scripts/setup.sh)." >&2
  exit 1
fi

if [ "$password" = "-" ]; then
  password=${MXA_LOOKUP_PASSWORD:-}
  if [ -z "$password" ] && [ -t 0 ]; then
    read -rsp "Senha do papel $role: " password
    echo >&2
  fi
fi
if [ -z "$password" ]; then
  echo "Informe a senha do papel (argumento ou MXA_LOOKUP_PASSWORD)." >&2
  exit 2
fi

# The password reaches psql through its environment, never its command line; every
# name and text is bound as a psql variable and quoted by the server (%I, %L).
MXA_LOOKUP_PASSWORD=$password psql -X -q -v ON_ERROR_STOP=1 --single-transaction \
  -v role="$role" -v schema="$schema" -d "$admin" <<'SQL'
\getenv password MXA_LOOKUP_PASSWORD
SELECT set_config('mxa.lookup_role', :'role', true) AS ignored_role,
       set_config('mxa.lookup_schema', :'schema', true) AS ignored_schema,
       set_config('mxa.lookup_password', :'password', true) AS ignored_password
\gset
DO $$
DECLARE
    r text := current_setting('mxa.lookup_role');
    s text := current_setting('mxa.lookup_schema');
    pw text := current_setting('mxa.lookup_password');
    -- The tables the workstations' look-ups name; OPERADOR is granted by column below.
    readable text[] := ARRAY['inspecao', 'resposinspec', 'setor', 'fornecedor', 'produto',
                             'equipaprod', 'habilidade', 'habiloper'];
    t text;
    cols text;
BEGIN
    IF r = '' THEN
        RAISE EXCEPTION 'Informe o nome do papel de consulta.';
    END IF;
    IF NOT EXISTS (SELECT 1 FROM pg_namespace WHERE nspname = s) THEN
        RAISE EXCEPTION 'O esquema "%" não existe neste banco de dados.', s;
    END IF;
    FOREACH t IN ARRAY readable || ARRAY['operador'] LOOP
        IF to_regclass(format('%I.%I', s, t)) IS NULL THEN
            RAISE EXCEPTION 'A tabela % não existe no esquema "%": inicie o servidor de aplicação uma vez (ele cria as tabelas) e rode o script de novo.', upper(t), s;
        END IF;
    END LOOP;
    -- An existing role with more powers than reading would keep them: refuse it
    -- rather than hand workstations a powerful login.
    IF EXISTS (SELECT 1 FROM pg_roles WHERE rolname = r
               AND (rolsuper OR rolcreaterole OR rolcreatedb OR rolreplication OR rolbypassrls)) THEN
        RAISE EXCEPTION 'O papel "%" já existe com privilégios além de leitura; remova-o ou use outro nome.', r;
    END IF;
    IF EXISTS (SELECT 1 FROM pg_auth_members m JOIN pg_roles p ON p.oid = m.member WHERE p.rolname = r) THEN
        RAISE EXCEPTION 'O papel "%" é membro de outros papéis e teria os privilégios deles; remova-o ou use outro nome.', r;
    END IF;

    IF NOT EXISTS (SELECT 1 FROM pg_roles WHERE rolname = r) THEN
        EXECUTE format('CREATE ROLE %I', r);
    END IF;
    EXECUTE format('ALTER ROLE %I LOGIN PASSWORD %L', r, pw);
    EXECUTE format('ALTER ROLE %I SET default_transaction_read_only = on', r);
    EXECUTE format('ALTER ROLE %I IN DATABASE %I SET search_path = %I', r, current_database(), s);

    -- Whatever was granted before goes; then exactly the look-ups' tables.
    EXECUTE format('REVOKE ALL ON ALL TABLES IN SCHEMA %I FROM %I', s, r);
    EXECUTE format('REVOKE ALL ON ALL SEQUENCES IN SCHEMA %I FROM %I', s, r);
    EXECUTE format('REVOKE ALL ON ALL FUNCTIONS IN SCHEMA %I FROM %I', s, r);
    EXECUTE format('REVOKE ALL ON SCHEMA %I FROM %I', s, r);
    EXECUTE format('GRANT USAGE ON SCHEMA %I TO %I', s, r);
    FOREACH t IN ARRAY readable LOOP
        EXECUTE format('GRANT SELECT ON %I.%I TO %I', s, t, r);
    END LOOP;
    -- Every column of OPERADOR but the password hash, whatever columns it has today.
    SELECT string_agg(quote_ident(attname), ', ' ORDER BY attnum) INTO cols
      FROM pg_attribute
     WHERE attrelid = format('%I.%I', s, 'operador')::regclass
       AND attnum > 0 AND NOT attisdropped AND attname <> 'cdsenhaoper';
    EXECUTE format('GRANT SELECT (%s) ON %I.%I TO %I', cols, s, 'operador', r);
END
$$;
SQL
echo "Papel de consulta \"$role\" pronto no esquema \"$schema\" (somente leitura)." >&2
