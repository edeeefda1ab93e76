# The capture demo's settings and how the options given to it change them
# (sourced by scripts/capture-demo.sh). The composition is a 1920x1080 test
# card named "Glimster Démo – Ünïcødé" at 2 s (48/24). The options are
# glimster-host options, --opt VALUE or --opt=VALUE, added to these settings:
# a value given replaces the demo's, another frame source (--noise,
# --frame-png, --demo) replaces the test card, and what such a source fixes
# itself (the size of --frame-png; name, size and time of --demo) is left to
# it.
#
#   demo_parse OPTION...   sets demo_help (true for -h or --help), demo_fixed
#                          (true for --demo, whose name is fixed) and the
#                          composition's name
#   demo_arguments LABEL   sets demo_host_arguments: the glimster-host
#                          arguments of one capture, the composition named
#                          with LABEL after the name (none with --demo)

# glimster-host's options that take a value: the next argument is that value.
demo_valued_options=" --comp-name --size --time --noise --frame-png --desktop --repeat --fail --refuse-suite --macos "

demo_parse() {
  demo_name="Glimster Démo – Ünïcødé"
  demo_settings=(--time 48/24)
  demo_size=(--size 1920x1080)
  demo_source=(--test-card)
  demo_given=("$@")
  demo_help=false
  demo_fixed=false
  local option value
  while [ $# -gt 0 ]; do
    option=${1%%=*}
    if [ "$option" != "$1" ]; then
      value=${1#*=}
    elif [[ $demo_valued_options == *" $option "* ]]; then
      value=${2-}
      [ $# -gt 1 ] && shift
    fi
    case $option in
      --noise | --frame-png | --test-card) demo_source=() ;;&
      --frame-png) demo_size=() ;;
      --demo) demo_source=() demo_size=() demo_settings=() demo_fixed=true ;;
      --comp-name) demo_name=$value ;;
      -h | --help) demo_help=true ;;
      --) break ;;
    esac
    shift
  done
}

demo_arguments() {
  demo_host_arguments=("${demo_settings[@]}" "${demo_size[@]}" "${demo_source[@]}" "${demo_given[@]}")
  if ! $demo_fixed; then
    demo_host_arguments+=(--comp-name "$demo_name$1")
  fi
}
