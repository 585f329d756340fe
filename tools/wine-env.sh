# Sourced by the scripts: the Wine settings every run uses. Russian regional
# settings (code page 1251), no debug noise, no Mono/Gecko prompts.
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win32
export LC_ALL=ru_RU.UTF-8
