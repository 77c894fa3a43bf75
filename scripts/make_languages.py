#!/usr/bin/env python3
"""Writes the shipped language files language/*.lng.

The game keeps its texts 8-bit in the system's ANSI code page, so every file
is written in the code page of its language (Russian in 1251, English and
German in 1252), one key=text entry per CR LF line. A backslash followed by
n inside a text is the game's line break.

Run from anywhere: python3 scripts/make_languages.py
"""

import pathlib

RULE = "\u2014" * 11  # eleven em dashes, byte 0x97 in both code pages

ENGLISH = {
    "main_win_menu_game": "Game",
    "main_win_menu_panelcross": "Crosswords panel...",
    "main_win_menu_import": "Import puzzles...",
    "main_win_menu_preference": "Preferences...",
    "main_win_menu_exit": "Exit",
    "main_win_menu_view": "View",
    "main_win_menu_mode": "Draw mode",
    "main_win_menu_mode_brush": "Brush",
    "main_win_menu_mode_line": "Line",
    "main_win_menu_mode_rect": "Rectangle",
    "main_win_menu_preview": "Preview",
    "main_win_menu_zoom_in": "Zoom In",
    "main_win_menu_zoom_out": "Zoom Out",
    "main_win_menu_zoom_fit": "Fit to Window",
    "main_win_menu_clear": "Clear",
    "main_win_menu_redo": "Redo",
    "main_win_menu_undo": "Undo",
    "main_win_menu_mistakes": "Show mistakes",
    "main_win_status_no_mistakes": "No mistakes",
    "main_win_status_mistakes": "Mistakes: %d",
    "main_win_menu_hover": "Highlight hover crosshair",
    "main_win_menu_help": "Help",
    "main_win_menu_about": "About...",
    "suggest_button_active": "Click to suggest a course",
    "suggest_button_wait": "Please, wait %d second...",
    "cell_state_empty": "empty",
    "cell_state_def_yes": "present",
    "cell_state_def_no": "absence",
    "cell_state_mark": "mark",
    "tree_view_hint_category": " Category: %s\\n" + RULE + "\\n Solved - %d\\n Edited - %d\\n Total - %d",
    "tree_view_hint_item": " Crossword # %s (%s)\\n" + RULE + "\\n Crossword type - %s\\n Difficulty level - %s",
    "tree_view_hint_type_cross_bw": "Black&White",
    "tree_view_hint_type_cross_col": "Color",
    "tree_view_hint_cross_diff_level_0": "Easy",
    "tree_view_hint_cross_diff_level_1": "Medium",
    "tree_view_hint_cross_diff_level_2": "Difficult",
    "tree_view_hint_cross_diff_level_3": "Very difficult",
    "tree_view_hint_cross_state_solved": "solved",
    "tree_view_hint_cross_state_edited": "edited",
    "tree_view_hint_time": " Time - %s",
    "preference_win_caption": "Preference",
    "preference_win_cat_common": "Common option",
    "preference_win_com_language": "Language selection",
    "preference_win_com_game": "Game option",
    "preference_win_com_auto_mark": "Auto marks number cell",
    "preference_win_com_show_hover": "Highlight hover crosshair",
    "preference_win_com_live_mistakes": "Show mistakes as they happen",
    "preference_win_com_line_help": "Cross the rest of a finished line",
    "profile_win_select_user": "Select user",
    "profile_win_user_name": "User name",
    "profile_win_name_empty": "Please type a user name.",
    "profile_win_name_invalid": "The user name becomes the name of the profile file, so it cannot be \".\" or \"..\" and cannot hold / \\ < > : \" | ? * or letters this system's code page lacks. Please choose another name.",
    "profile_win_name_too_long": "This user name is too long for a file name. Please choose a shorter one.",
    "profile_win_in_use": "This profile is open in another window of the game.\\nChoose another profile.",
    "select_cross_confirm": "The current crossword is not solved.\\n Do you want to leave it and open the other crossword?",
    "common_str_confirmation": "Confirmation",
    "solved_info_caption": "The crossword is solved",
    "solved_info_text": "Congratulations,\\n You solved the crossword.",
    "solved_info_continue": "Continue",
    "solved_info_time": "Time: %s",
    "preview_win_caption": "Preview",
    "about_win_caption": "About...",
    "about_version": "version: %s",
    "about_info": "Tessellor - a game of Japanese crosswords: picture puzzles solved from the number clues "
    "of their rows and columns.\\n\\nMade with Qt (GNU LGPL version 3).\\n\\nPacks are read with libzip "
    "(BSD 3-clause licence).",
    "common_str_ok": "Ok",
    "common_str_cancel": "Cancel",
    "common_str_apply": "Apply",
    "help_win_back": "Back",
    "help_win_forward": "Forward",
    "help_win_contents": "Contents",
    "help_win_no_folder": "The help pages could not be found. They belong in the folder \"help\" beside the program's data:\\n",
    "help_win_no_page": "This help page is missing:\\n",
    "import_win_caption": "Import puzzles",
    "import_win_files": "Puzzles and pictures",
    "import_win_all_files": "All files",
    "import_done": "%d crosswords were added to the pack \"Imported\".",
    "import_refused": "Not imported:",
    "import_pack_unreadable": "The pack \"Imported\" could not be read, so nothing was imported:\\n",
    "import_pack_unwritable": "The pack \"Imported\" could not be written, so nothing was imported:\\n",
    "import_reading": "Reading the files...",
    "import_progress": "Puzzle %d of %d",
    "error_30000": "A crossword pack could not be read. The pack file in the folder \"data\" is damaged "
                   "or is not a ZIP archive.\\nReplace it with a good copy.",
    "error_30004": "The crossword could not be opened: its working copy in the temporary folder could not be "
                   "written or read, or the crossword file is damaged.\\nCheck that the folder named by TEMP "
                   "exists and can be written to, then try again.",
    "error_30005": "The language file could not be loaded.\\nCheck that the folder \"language\" holds the file "
                   "of the chosen language and that it can be read.",
    "error_30006": "This file is not a Tessellor profile; the profile file is damaged.\\nMove it somewhere else "
                   "or choose another user name.",
    "error_30007": "The profile file could not be written, so the progress of this session was not saved.\\n"
                   "Check that the working folder can be written to and that the disk has free space.",
}

RUSSIAN = {
    "main_win_menu_game": "Игра",
    "main_win_menu_panelcross": "Панель кроссвордов...",
    "main_win_menu_import": "Импорт головоломок...",
    "main_win_menu_preference": "Настройки...",
    "main_win_menu_exit": "Выход",
    "main_win_menu_view": "Вид",
    "main_win_menu_mode": "Режим рисования",
    "main_win_menu_mode_brush": "Кисть",
    "main_win_menu_mode_line": "Линия",
    "main_win_menu_mode_rect": "Прямоугольник",
    "main_win_menu_preview": "Предпросмотр",
    "main_win_menu_zoom_in": "Увеличить",
    "main_win_menu_zoom_out": "Уменьшить",
    "main_win_menu_zoom_fit": "По размеру окна",
    "main_win_menu_clear": "Очистить",
    "main_win_menu_redo": "Повторить",
    "main_win_menu_undo": "Отменить",
    "main_win_menu_mistakes": "Показать ошибки",
    "main_win_status_no_mistakes": "Ошибок нет",
    "main_win_status_mistakes": "Ошибок: %d",
    "main_win_menu_hover": "Подсвечивать перекрестие под курсором",
    "main_win_menu_help": "Справка",
    "main_win_menu_about": "О программе...",
    "suggest_button_active": "Получить подсказку",
    "suggest_button_wait": "Подождите ещё %d сек...",
    "cell_state_empty": "пусто",
    "cell_state_def_yes": "закрашено",
    "cell_state_def_no": "не закрашено",
    "cell_state_mark": "метка",
    "tree_view_hint_category": " Категория: %s\\n" + RULE + "\\n Решено - %d\\n Начато - %d\\n Всего - %d",
    "tree_view_hint_item": " Кроссворд № %s (%s)\\n" + RULE + "\\n Тип кроссворда - %s\\n Уровень сложности - %s",
    "tree_view_hint_type_cross_bw": "Чёрно-белый",
    "tree_view_hint_type_cross_col": "Цветной",
    "tree_view_hint_cross_diff_level_0": "Лёгкий",
    "tree_view_hint_cross_diff_level_1": "Средний",
    "tree_view_hint_cross_diff_level_2": "Сложный",
    "tree_view_hint_cross_diff_level_3": "Очень сложный",
    "tree_view_hint_cross_state_solved": "решён",
    "tree_view_hint_cross_state_edited": "начат",
    "tree_view_hint_time": " Время - %s",
    "preference_win_caption": "Настройки",
    "preference_win_cat_common": "Общие параметры",
    "preference_win_com_language": "Выбор языка",
    "preference_win_com_game": "Параметры игры",
    "preference_win_com_auto_mark": "Автоотметка чисел подсказок",
    "preference_win_com_show_hover": "Подсветка перекрестия под мышью",
    "preference_win_com_live_mistakes": "Показывать ошибки сразу",
    "preference_win_com_line_help": "Зачёркивать остаток готовой линии",
    "profile_win_select_user": "Выбор пользователя",
    "profile_win_user_name": "Имя пользователя",
    "profile_win_name_empty": "Введите имя пользователя.",
    "profile_win_name_invalid": "Имя пользователя становится именем файла профиля, поэтому оно не может быть \".\" или \"..\" и не может содержать / \\ < > : \" | ? * и буквы, которых нет в кодовой странице системы. Выберите другое имя.",
    "profile_win_name_too_long": "Это имя пользователя слишком длинное для имени файла. Выберите имя покороче.",
    "profile_win_in_use": "Этот профиль открыт в другом окне игры.\\nВыберите другой профиль.",
    "select_cross_confirm": "Текущий кроссворд не решён.\\n Оставить его и открыть другой кроссворд?",
    "common_str_confirmation": "Подтверждение",
    "solved_info_caption": "Кроссворд решён",
    "solved_info_text": "Поздравляем,\\n вы решили кроссворд.",
    "solved_info_continue": "Продолжить",
    "solved_info_time": "Время: %s",
    "preview_win_caption": "Предпросмотр",
    "about_win_caption": "О программе...",
    "about_version": "версия: %s",
    "about_info": "Tessellor - игра в японские кроссворды: картинки, которые разгадывают по числам "
    "в строках и столбцах.\\n\\nСделано на Qt (GNU LGPL версии 3).\\n\\nПакеты читаются с помощью libzip "
    "(лицензия BSD из трёх пунктов).",
    "common_str_ok": "ОК",
    "common_str_cancel": "Отмена",
    "common_str_apply": "Применить",
    "help_win_back": "Назад",
    "help_win_forward": "Вперёд",
    "help_win_contents": "Содержание",
    "help_win_no_folder": "Страницы справки не найдены. Они должны лежать в папке \"help\" рядом с данными программы:\\n",
    "help_win_no_page": "Эта страница справки отсутствует:\\n",
    "import_win_caption": "Импорт головоломок",
    "import_win_files": "Головоломки и рисунки",
    "import_win_all_files": "Все файлы",
    "import_done": "Кроссвордов добавлено в пакет \"Imported\": %d.",
    "import_refused": "Не импортированы:",
    "import_pack_unreadable": "Пакет \"Imported\" не удалось прочитать, поэтому ничего не импортировано:\\n",
    "import_pack_unwritable": "Пакет \"Imported\" не удалось записать, поэтому ничего не импортировано:\\n",
    "import_reading": "Чтение файлов...",
    "import_progress": "Головоломка %d из %d",
    "error_30000": "Не удалось прочитать пакет кроссвордов. Файл пакета в папке \"data\" повреждён или не "
                   "является архивом ZIP.\\nЗамените его исправной копией.",
    "error_30004": "Не удалось открыть кроссворд: его рабочую копию во временной папке не удалось записать или "
                   "прочитать, либо файл кроссворда повреждён.\\nПроверьте, что папка из переменной TEMP "
                   "существует и доступна для записи, и попробуйте снова.",
    "error_30005": "Не удалось загрузить языковой файл.\\nПроверьте, что в папке \"language\" есть файл "
                   "выбранного языка и его можно прочитать.",
    "error_30006": "Этот файл не является профилем Tessellor: файл профиля повреждён.\\nПереместите его в "
                   "другое место или выберите другое имя пользователя.",
    "error_30007": "Не удалось записать файл профиля, поэтому прогресс этого сеанса не сохранён.\\nПроверьте, "
                   "что рабочая папка доступна для записи и на диске есть свободное место.",
}

GERMAN = {
    "main_win_menu_game": "Spiel",
    "main_win_menu_panelcross": "Rätselliste...",
    "main_win_menu_import": "Rätsel importieren...",
    "main_win_menu_preference": "Einstellungen...",
    "main_win_menu_exit": "Beenden",
    "main_win_menu_view": "Ansicht",
    "main_win_menu_mode": "Zeichenmodus",
    "main_win_menu_mode_brush": "Pinsel",
    "main_win_menu_mode_line": "Linie",
    "main_win_menu_mode_rect": "Rechteck",
    "main_win_menu_preview": "Vorschau",
    "main_win_menu_zoom_in": "Vergrößern",
    "main_win_menu_zoom_out": "Verkleinern",
    "main_win_menu_zoom_fit": "An Fenster anpassen",
    "main_win_menu_clear": "Leeren",
    "main_win_menu_redo": "Wiederholen",
    "main_win_menu_undo": "Rückgängig",
    "main_win_menu_mistakes": "Fehler zeigen",
    "main_win_status_no_mistakes": "Keine Fehler",
    "main_win_status_mistakes": "Fehler: %d",
    "main_win_menu_hover": "Fadenkreuz unter dem Mauszeiger hervorheben",
    "main_win_menu_help": "Hilfe",
    "main_win_menu_about": "Über...",
    "suggest_button_active": "Klicken für einen Tipp",
    "suggest_button_wait": "Noch %d Sekunden...",
    "cell_state_empty": "leer",
    "cell_state_def_yes": "gefüllt",
    "cell_state_def_no": "nicht gefüllt",
    "cell_state_mark": "Markierung",
    "tree_view_hint_category": " Kategorie: %s\\n" + RULE + "\\n Gelöst - %d\\n Bearbeitet - %d\\n Gesamt - %d",
    "tree_view_hint_item": " Rätsel Nr. %s (%s)\\n" + RULE + "\\n Rätseltyp - %s\\n Schwierigkeitsgrad - %s",
    "tree_view_hint_type_cross_bw": "Schwarzweiß",
    "tree_view_hint_type_cross_col": "Farbig",
    "tree_view_hint_cross_diff_level_0": "Leicht",
    "tree_view_hint_cross_diff_level_1": "Mittel",
    "tree_view_hint_cross_diff_level_2": "Schwer",
    "tree_view_hint_cross_diff_level_3": "Sehr schwer",
    "tree_view_hint_cross_state_solved": "gelöst",
    "tree_view_hint_cross_state_edited": "bearbeitet",
    "tree_view_hint_time": " Zeit - %s",
    "preference_win_caption": "Einstellungen",
    "preference_win_cat_common": "Allgemeine Optionen",
    "preference_win_com_language": "Sprachauswahl",
    "preference_win_com_game": "Spieloptionen",
    "preference_win_com_auto_mark": "Hinweiszahlen automatisch markieren",
    "preference_win_com_show_hover": "Fadenkreuz unter der Maus hervorheben",
    "preference_win_com_live_mistakes": "Fehler sofort zeigen",
    "preference_win_com_line_help": "Rest einer fertigen Linie ankreuzen",
    "profile_win_select_user": "Benutzer auswählen",
    "profile_win_user_name": "Benutzername",
    "profile_win_name_empty": "Bitte geben Sie einen Benutzernamen ein.",
    "profile_win_name_invalid": "Der Benutzername wird zum Namen der Profildatei, daher darf er nicht \".\" oder \"..\" sein und kein / \\ < > : \" | ? * und keine Buchstaben enthalten, die der Codepage des Systems fehlen. Bitte wählen Sie einen anderen Namen.",
    "profile_win_name_too_long": "Dieser Benutzername ist für einen Dateinamen zu lang. Bitte wählen Sie einen kürzeren.",
    "profile_win_in_use": "Dieses Profil ist in einem anderen Fenster des Spiels geöffnet.\\nBitte wählen Sie ein anderes Profil.",
    "select_cross_confirm": "Das aktuelle Rätsel ist nicht gelöst.\\n Möchten Sie es verlassen und das andere Rätsel öffnen?",
    "common_str_confirmation": "Bestätigung",
    "solved_info_caption": "Das Rätsel ist gelöst",
    "solved_info_text": "Herzlichen Glückwunsch,\\n Sie haben das Rätsel gelöst.",
    "solved_info_continue": "Weiter",
    "solved_info_time": "Zeit: %s",
    "preview_win_caption": "Vorschau",
    "about_win_caption": "Über...",
    "about_version": "Version: %s",
    "about_info": "Tessellor - ein Spiel mit japanischen Kreuzworträtseln: Bilderrätsel, gelöst aus den "
    "Zahlen ihrer Zeilen und Spalten.\\n\\nErstellt mit Qt (GNU LGPL Version 3).\\n\\nPakete liest libzip "
    "(BSD-Lizenz mit drei Klauseln).",
    "common_str_ok": "OK",
    "common_str_cancel": "Abbrechen",
    "common_str_apply": "Übernehmen",
    "help_win_back": "Zurück",
    "help_win_forward": "Vorwärts",
    "help_win_contents": "Inhalt",
    "help_win_no_folder": "Die Hilfeseiten wurden nicht gefunden. Sie gehören in den Ordner \"help\" neben den Daten des Programms:\\n",
    "help_win_no_page": "Diese Hilfeseite fehlt:\\n",
    "import_win_caption": "Rätsel importieren",
    "import_win_files": "Rätsel und Bilder",
    "import_win_all_files": "Alle Dateien",
    "import_done": "%d Rätsel wurden dem Paket \"Imported\" hinzugefügt.",
    "import_refused": "Nicht importiert:",
    "import_pack_unreadable": "Das Paket \"Imported\" konnte nicht gelesen werden, daher wurde nichts importiert:\\n",
    "import_pack_unwritable": "Das Paket \"Imported\" konnte nicht geschrieben werden, daher wurde nichts importiert:\\n",
    "import_reading": "Dateien werden gelesen...",
    "import_progress": "Rätsel %d von %d",
    "error_30000": "Ein Rätselpaket konnte nicht gelesen werden. Die Paketdatei im Ordner \"data\" ist beschädigt "
                   "oder kein ZIP-Archiv.\\nErsetzen Sie sie durch eine intakte Kopie.",
    "error_30004": "Das Rätsel konnte nicht geöffnet werden: Seine Arbeitskopie im temporären Ordner ließ sich "
                   "nicht schreiben oder lesen, oder die Rätseldatei ist beschädigt.\\nPrüfen Sie, ob der in TEMP "
                   "genannte Ordner existiert und beschreibbar ist, und versuchen Sie es erneut.",
    "error_30005": "Die Sprachdatei konnte nicht geladen werden.\\nPrüfen Sie, ob der Ordner \"language\" die Datei "
                   "der gewählten Sprache enthält und ob sie lesbar ist.",
    "error_30006": "Diese Datei ist kein Tessellor-Profil; die Profildatei ist beschädigt.\\nVerschieben Sie sie "
                   "an einen anderen Ort oder wählen Sie einen anderen Benutzernamen.",
    "error_30007": "Die Profildatei konnte nicht geschrieben werden, daher wurde der Fortschritt dieser Sitzung "
                   "nicht gespeichert.\\nPrüfen Sie, ob der Arbeitsordner beschreibbar ist und der Datenträger "
                   "freien Platz hat.",
}

FILES = [("english", "cp1252", ENGLISH), ("russian", "cp1251", RUSSIAN), ("german", "cp1252", GERMAN)]


def main():
    folder = pathlib.Path(__file__).resolve().parent.parent / "language"
    folder.mkdir(exist_ok=True)
    for name, encoding, texts in FILES:
        if texts.keys() != ENGLISH.keys():
            raise SystemExit(f"{name}: keys differ from English: {set(texts) ^ set(ENGLISH)}")
        lines = []
        for key in ENGLISH:  # one key order in every file
            text = texts[key]
            if "\n" in text or "\r" in text:
                raise SystemExit(f"{name}: {key} holds a real line end; write \\n")
            lines.append(f"{key}={text}\r\n")
        # strict: a character the code page lacks is a mistake in this table
        (folder / f"{name}.lng").write_bytes("".join(lines).encode(encoding))


if __name__ == "__main__":
    main()
