#!/usr/bin/env bash
# The installer's pages. Debian 12's wixl (msitools 0.101) knows no UI,
# Dialog, Control or Publish element, so they are written here as Windows
# Installer's own tables in its text archive form (.idt), which
# tools/windows-build.sh imports with msibuild into the MSI wixl built.
# Opened with a double click: a page saying what is installed and where, the
# progress, a page saying it is installed (which can start the program); on
# an installed copy, a page to repair or remove it. /passive and /qn show
# none of them: the installer reads InstallUISequence in full UI only (and
# shows its modeless progress page in reduced UI).
# Positions and sizes are installer units (a 370 x 270 page, as usual).
#   bash tools/windows/dialogs.sh MSI FOLDER   writes FOLDER/*.idt, prints their paths
set -euo pipefail
msi=$1 out=$2
mkdir -p "$out"

# table NAME COLUMNS TYPES KEYS: NAME.idt, its rows read from standard input
# with the fields between '|'. With no COLUMNS, the rows are added to those
# wixl wrote (an import replaces a table whole), read in the code page
# wixl wrote them in.
table() {
    {
        if [ -n "${2:-}" ]; then
            printf '%s\n' "$2" "$3" "$1 $4" | tr ' ' '\t'
        else
            WINDOWS_LANGUAGE=ru msiinfo export "$msi" "$1" | tr -d '\r'
        fi
        tr '|' '\t'
    } | sed 's/$/\r/' >"$out/$1.idt"
    echo "$out/$1.idt"
}

# The pages' font: without DefaultUIFont the installer takes the system
# font, which may not show the package's code page (1251).
table TextStyle 'TextStyle FaceName Size Color StyleBits' 's72 s32 i2 I4 I2' TextStyle <<'EOF'
Normal|Tahoma|8||
Title|Tahoma|12||1
EOF

# LaunchProgram: the last page's «Запустить программу», ticked.
table Property <<'EOF'
DefaultUIFont|Normal
ErrorDialog|ErrorDlg
LaunchProgram|1
EOF

# Wizard pages are modal (Visible 1 + Modal 2 + Minimize 4); the progress is
# modeless, so that the installation goes on under it; FilesInUse keeps it
# (KeepModeless 16); the error box has the Error bit (65536).
table Dialog 'Dialog HCentering VCentering Width Height Attributes Title Control_First Control_Default Control_Cancel' \
    's72 i2 i2 i2 i2 I4 L128 s50 S50 S50' Dialog <<'EOF'
WelcomeDlg|50|50|370|270|7|Программа установки «Расчет ЗУЛ»|Install|Install|Cancel
MaintenanceDlg|50|50|370|270|7|Программа установки «Расчет ЗУЛ»|Repair|Repair|Cancel
ProgressDlg|50|50|370|270|5|Программа установки «Расчет ЗУЛ»|Cancel||Cancel
CancelDlg|50|50|260|85|3|Программа установки «Расчет ЗУЛ»|No|No|No
ExitDlg|50|50|370|270|7|Программа установки «Расчет ЗУЛ»: готово|Finish|Finish|Finish
UserExitDlg|50|50|370|270|7|Программа установки «Расчет ЗУЛ»|Finish|Finish|Finish
FatalErrorDlg|50|50|370|270|7|Программа установки «Расчет ЗУЛ»|Finish|Finish|Finish
FilesInUse|50|50|370|270|23|Программа установки «Расчет ЗУЛ»|Retry|Retry|Exit
ErrorDlg|50|50|270|105|65539|Программа установки «Расчет ЗУЛ»|ErrorText||
EOF

# Attributes: Visible 1, Enabled 2, Sunken 4; texts NoPrefix (131072), as a
# folder's name may hold an '&'; the progress bar Progress95 (65536); the
# icon FixedSize (1048576) with its 32-pixel image (IconSize32, 4194304).
# A text shown only in one case is authored hidden (2) and shown by
# ControlCondition; the one for the other case hidden by it.
{
    # the line above a page's buttons; the program's icon by the titles
    for page in WelcomeDlg MaintenanceDlg ProgressDlg ExitDlg UserExitDlg FatalErrorDlg FilesInUse; do
        echo "$page|Line|Line|0|234|370|0|1||||"
    done
    for page in WelcomeDlg ExitDlg UserExitDlg FatalErrorDlg; do
        echo "$page|Icon|Icon|20|18|24|24|5242881||zulcalc.icon||"
    done
    cat <<'EOF'
WelcomeDlg|Title|Text|54|22|296|20|131075||{\Title}Установка программы «Расчет ЗУЛ»||
WelcomeDlg|About|Text|20|56|330|24|131075||Программа «Расчет ЗУЛ» [ProductVersion] считает уровень звука оповещателей СОУЭ, их количество и расстановку в помещении.||
WelcomeDlg|FolderLabel|Text|20|90|330|12|131075||Она будет установлена в папку:||
WelcomeDlg|Folder|Text|20|104|330|24|131075||[INSTALLDIR]||
WelcomeDlg|Shortcut|Text|20|132|330|12|131075||В меню «Пуск» появятся ярлыки программы и ее документов.||
WelcomeDlg|Licence|Text|20|156|330|36|131075||Это свободная программа: ее можно использовать, изменять и распространять по лицензии GNU GPL версии 3 или более поздней. Текст лицензии будет в той же папке, в файле COPYING.txt.||
WelcomeDlg|Upgrade|Text|20|212|330|12|131074||Установленная ранее версия будет заменена этой.||
WelcomeDlg|Install|PushButton|214|243|78|17|8388611||&Установить|Cancel|
WelcomeDlg|Cancel|PushButton|298|243|56|17|3||Отмена|Install|
MaintenanceDlg|Title|Text|20|22|330|20|131075||{\Title}Программа «Расчет ЗУЛ» уже установлена||
MaintenanceDlg|Version|Text|20|50|330|24|131075||Версия [ProductVersion] установлена на этом компьютере. Что с ней сделать?||
MaintenanceDlg|Repair|PushButton|20|86|80|17|8388611||&Восстановить|Remove|
MaintenanceDlg|RepairText|Text|110|86|240|26|131075||Вернуть на место файлы программы и ее ярлыки в меню «Пуск», если они повреждены или удалены.||
MaintenanceDlg|Remove|PushButton|20|124|80|17|8388611||&Удалить|Cancel|
MaintenanceDlg|RemoveText|Text|110|124|240|36|131075||Удалить программу с компьютера. Отчеты (Sample.txt), которые она записала, останутся на месте.||
MaintenanceDlg|Cancel|PushButton|298|243|56|17|3||Отмена|Repair|
ProgressDlg|Title|Text|20|22|330|20|131075||{\Title}Установка программы «Расчет ЗУЛ»||
ProgressDlg|TitleRemove|Text|20|22|330|20|131074||{\Title}Удаление программы «Расчет ЗУЛ»||
ProgressDlg|Text|Text|20|56|330|24|131075||Подождите: программа устанавливается.||
ProgressDlg|TextRemove|Text|20|56|330|24|131074||Подождите: программа удаляется.||
ProgressDlg|Bar|ProgressBar|20|90|330|12|65537||||
ProgressDlg|Cancel|PushButton|298|243|56|17|3||Отмена||
CancelDlg|Text|Text|15|12|230|30|131075||Прервать работу программы установки? Все, что она успела сделать, будет отменено.||
CancelDlg|Yes|PushButton|128|57|56|17|3||&Да|No|
CancelDlg|No|PushButton|190|57|56|17|3||&Нет|Yes|
ExitDlg|Title|Text|54|22|296|20|131075||{\Title}Программа «Расчет ЗУЛ» установлена||
ExitDlg|TitleRemove|Text|54|22|296|20|131074||{\Title}Программа «Расчет ЗУЛ» удалена||
ExitDlg|Text|Text|20|56|330|12|131075||Запускать ее можно ярлыком «Расчет ЗУЛ» в меню «Пуск».||
ExitDlg|Folder|Text|20|74|330|24|131075||Папка программы: [INSTALLDIR]||
ExitDlg|TextRemove|Text|20|56|330|36|131074||Ее файлы и ярлыки в меню «Пуск» удалены. Отчеты (Sample.txt), которые она записала, остались на месте.||
ExitDlg|Launch|CheckBox|20|106|330|14|3|LaunchProgram|&Запустить программу|Finish|
ExitDlg|Finish|PushButton|298|243|56|17|3||&Готово|Launch|
UserExitDlg|Title|Text|54|22|296|20|131075||{\Title}Работа программы установки прервана||
UserExitDlg|Text|Text|20|56|330|36|131074||Программа «Расчет ЗУЛ» [ProductVersion] не установлена; на компьютере ничего не изменено.||
UserExitDlg|TextInstalled|Text|20|56|330|36|131074||Программа «Расчет ЗУЛ» осталась установленной, как была.||
UserExitDlg|Finish|PushButton|298|243|56|17|3||&Закрыть||
FatalErrorDlg|Title|Text|54|22|296|20|131075||{\Title}Работа прервана из-за ошибки||
FatalErrorDlg|Text|Text|20|56|330|36|131074||Программа «Расчет ЗУЛ» [ProductVersion] не установлена: все, что успела сделать программа установки, отменено.||
FatalErrorDlg|TextInstalled|Text|20|56|330|36|131074||Программа «Расчет ЗУЛ» осталась установленной, как была: все, что успела сделать программа установки, отменено.||
FatalErrorDlg|Finish|PushButton|298|243|56|17|3||&Закрыть||
FilesInUse|Title|Text|20|22|330|20|131075||{\Title}Файлы программы заняты||
FilesInUse|Text|Text|20|50|330|36|131075||Эти программы открыли файлы, которые нужно заменить или удалить. Закройте их и нажмите «Повторить» или нажмите «Пропустить»: тогда это будет сделано после перезагрузки компьютера.||
FilesInUse|List|ListBox|20|92|330|130|7|FileInUseProcess|||
FilesInUse|Retry|PushButton|154|243|66|17|3||&Повторить|Ignore|
FilesInUse|Ignore|PushButton|226|243|66|17|3||&Пропустить|Exit|
FilesInUse|Exit|PushButton|298|243|56|17|3||&Выйти|Retry|
ErrorDlg|ErrorIcon|Icon|15|15|24|24|5242881||||
ErrorDlg|ErrorText|Text|48|15|205|60|131075||||
EOF
    # The error box's seven buttons share one place: the installer shows
    # those a message asks for and spaces them out.
    for button in 'A|&Прервать' 'C|Отмена' 'I|&Пропустить' 'N|&Нет' 'O|ОК' 'R|&Повторить' 'Y|&Да'; do
        echo "ErrorDlg|${button%%|*}|PushButton|100|80|56|17|3||${button#*|}||"
    done
} | table Control 'Dialog_ Control Type X Y Width Height Attributes Property Text Control_Next Help' \
    's72 s50 s20 i2 i2 i2 i2 I4 S72 L0 S50 L50' 'Dialog_ Control'

# Removing: the program is being removed, from the page of an installed copy
# or by msiexec /x (which the shell's Удалить on an .msi runs with these
# pages); the pages after the installation read it rather than REMOVE,
# whose value by then the installer does not document.
table ControlCondition 'Dialog_ Control_ Action Condition' 's72 s50 s50 s255' 'Dialog_ Control_ Action Condition' <<'EOF'
WelcomeDlg|Upgrade|Show|WIX_UPGRADE_DETECTED
ProgressDlg|Title|Hide|Removing
ProgressDlg|TitleRemove|Show|Removing
ProgressDlg|Text|Hide|Removing
ProgressDlg|TextRemove|Show|Removing
ExitDlg|Title|Hide|Removing
ExitDlg|TitleRemove|Show|Removing
ExitDlg|Text|Hide|Removing
ExitDlg|Folder|Hide|Removing
ExitDlg|TextRemove|Show|Removing
ExitDlg|Launch|Hide|Removing
UserExitDlg|Text|Show|NOT Installed
UserExitDlg|TextInstalled|Show|Installed
FatalErrorDlg|Text|Show|NOT Installed
FatalErrorDlg|TextInstalled|Show|Installed
EOF

# What the buttons do, in Ordering's order: EndDialog Return goes on with the
# sequence, Exit ends it as the user's (UserExitDlg follows). The page of an
# installed copy comes before costing (CostFinalize), which turns REINSTALL
# or REMOVE into what is installed again or removed, as when they are given
# on the command line (msiexec /fa, /x); its buttons set only those.
{
    cat <<'EOF'
WelcomeDlg|Install|EndDialog|Return|1|1
WelcomeDlg|Cancel|EndDialog|Exit|1|1
MaintenanceDlg|Repair|[REINSTALL]|ALL|1|1
MaintenanceDlg|Repair|[REINSTALLMODE]|ecmus|1|2
MaintenanceDlg|Repair|EndDialog|Return|1|3
MaintenanceDlg|Remove|[REMOVE]|ALL|1|1
MaintenanceDlg|Remove|EndDialog|Return|1|2
MaintenanceDlg|Cancel|EndDialog|Exit|1|1
ProgressDlg|Cancel|SpawnDialog|CancelDlg|1|1
CancelDlg|Yes|EndDialog|Exit|1|1
CancelDlg|No|EndDialog|Return|1|1
ExitDlg|Finish|DoAction|StartProgram|LaunchProgram AND NOT Removing|1
ExitDlg|Finish|EndDialog|Return|1|2
UserExitDlg|Finish|EndDialog|Return|1|1
FatalErrorDlg|Finish|EndDialog|Return|1|1
FilesInUse|Retry|EndDialog|Retry|1|1
FilesInUse|Ignore|EndDialog|Ignore|1|1
FilesInUse|Exit|EndDialog|Exit|1|1
EOF
    for button in A:Abort C:Cancel I:Ignore N:No O:Ok R:Retry Y:Yes; do
        echo "ErrorDlg|${button%:*}|EndDialog|Error${button#*:}|1|1"
    done
} | table ControlEvent 'Dialog_ Control_ Event Argument Condition Ordering' 's72 s50 s50 s255 S255 I2' \
    'Dialog_ Control_ Event Argument Condition'

table EventMapping 'Dialog_ Control_ Event Attribute' 's72 s50 s50 s50' 'Dialog_ Control_ Event' <<'EOF'
ProgressDlg|Bar|SetProgress|Progress
EOF

# StartProgram: the installed program, with its folder as the working folder
# as the shortcut has it, not waited for (type 34 + 192), as the user who
# opened the installer (the UI sequence's actions run in its process, not
# in the installer service); SetRemoving sets a property (type 51).
table CustomAction <<'EOF'
StartProgram|226|INSTALLDIR|"[INSTALLDIR]zulcalc.exe"|
SetRemoving|51|Removing|1|
EOF

# The last pages by how the sequence ends (-1 done, -2 cancelled, -3
# failed); the page of an installed copy unless the command line said what to
# do, before CostInitialize (800); the first page on a new installation, then
# the progress, after costing (CostFinalize, 1000, which resolves INSTALLDIR)
# and before ExecuteAction (1300) hands over to the installation.
table InstallUISequence <<'EOF'
ExitDlg||-1
UserExitDlg||-2
FatalErrorDlg||-3
MaintenanceDlg|Installed AND NOT RESUME AND NOT Preselected AND NOT REMOVE AND NOT REINSTALL|750
WelcomeDlg|NOT Installed|1230
SetRemoving|REMOVE = "ALL"|1240
ProgressDlg||1280
EOF
